#include "fpgaprobe.h"

int main(int argc, char** argv)
{
    return fpgaprobeMain(argc, argv);
}
