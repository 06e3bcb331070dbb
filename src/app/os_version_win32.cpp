// The system's version numbers straight from the process environment block.
// GetVersionEx lies to programs without a compatibility manifest entry for the
// running system; the block holds what the loader was told.
#include "app/program_globals.h"

#include <windows.h>
#include <intrin.h>

#include <cstring>

#if defined(__GNUC__)
// GCC takes the segment-relative reads of __readgsqword for reads of a
// zero-length array and warns; the reads are what the intrinsic is for.
#pragma GCC diagnostic ignored "-Warray-bounds"
#endif

namespace {

#if defined(_M_X64) || defined(__x86_64__)
constexpr unsigned long kPebInTeb = 0x60;
constexpr unsigned long kMajorInPeb = 0x118;
constexpr unsigned long kMinorInPeb = 0x11C;

const unsigned char* ProcessEnvironmentBlock() {
    return reinterpret_cast<const unsigned char*>(__readgsqword(kPebInTeb));
}
#elif defined(_M_IX86) || defined(__i386__)
constexpr unsigned long kPebInTeb = 0x30;
constexpr unsigned long kMajorInPeb = 0xA4;
constexpr unsigned long kMinorInPeb = 0xA8;

const unsigned char* ProcessEnvironmentBlock() {
    return reinterpret_cast<const unsigned char*>(__readfsdword(kPebInTeb));
}
#else
#error "the process environment block layout is known for x86 and x86_64 only"
#endif

std::uint32_t ReadField(const unsigned char* block, unsigned long offset) {
    std::uint32_t value;
    std::memcpy(&value, block + offset, sizeof value);
    return value;
}

}  // namespace

std::uint32_t GetOsVersionWord() {
    const unsigned char* peb = ProcessEnvironmentBlock();
    return CombineOsVersion(ReadField(peb, kMajorInPeb), ReadField(peb, kMinorInPeb));
}
