// The two process-wide values set once at start-up, before any window exists,
// and only read afterwards.
#pragma once

#include <cstdint>

// Code page of every Text. A constant of the program, never the system's ANSI code page.
extern std::uint32_t CodePage;
// (major mod 256) * 256 + (minor mod 256) of the running system.
extern std::uint32_t OsVersionWord;

constexpr std::uint32_t kChineseCodePage = 936;

void InitProgramGlobals();

// Platform layer: the running system's version, read without a version-query call.
std::uint32_t GetOsVersionWord();

constexpr std::uint32_t CombineOsVersion(std::uint32_t major, std::uint32_t minor) {
    return ((major & 0xFFu) << 8) | (minor & 0xFFu);
}
