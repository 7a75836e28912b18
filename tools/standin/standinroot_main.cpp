// standinroot: lays out a stand-in board below a directory.
#include "standin_root.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 2 || std::strcmp(argv[1], "-h") == 0) {
        std::fprintf(stderr, "usage: standinroot <directory>\n"
                             "Lays out a stand-in system root for CONSOLE_SYSROOT.\n");
        return argc == 2 ? 0 : 2;
    }
    if (!standinCreateRoot(argv[1])) {
        std::fprintf(stderr, "standinroot: could not lay out %s\n", argv[1]);
        return 1;
    }
    std::printf("%s\n", argv[1]);
    return 0;
}
