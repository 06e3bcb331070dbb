// Stand-in for the native build: the kernel's release numbers play the part of
// the system version, so the portable code can call GetOsVersionWord as usual.
#include "app/program_globals.h"

#include <sys/utsname.h>

#include <cstdio>

std::uint32_t GetOsVersionWord() {
    utsname name{};
    unsigned major = 0;
    unsigned minor = 0;
    if (uname(&name) == 0) std::sscanf(name.release, "%u.%u", &major, &minor);
    return CombineOsVersion(major, minor);
}
