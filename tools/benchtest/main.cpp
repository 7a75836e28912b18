#include "benchstart.h"

int main()
{
    benchtestMain();
}
