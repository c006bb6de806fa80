#include "version/Version.h"

#include <cstdio>
#include <cstring>

#ifndef VELMORA_VERSION
#error "VELMORA_VERSION comes from CMake's project VERSION"
#endif

namespace version {

const char* Number()
{
    return VELMORA_VERSION;
}

bool PrintIfAsked(int argc, char** argv, const char* program)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", program, Number());
            return true;
        }
    }
    return false;
}

} // namespace version
