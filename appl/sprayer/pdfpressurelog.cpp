#include "pdfpressurelog.h"

bool pressureLogSavePdf()
{
    return false;
}
