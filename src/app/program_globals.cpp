#include "app/program_globals.h"

std::uint32_t CodePage = kChineseCodePage;
std::uint32_t OsVersionWord = 0;

void InitProgramGlobals() {
    CodePage = kChineseCodePage;
    OsVersionWord = GetOsVersionWord();
}
