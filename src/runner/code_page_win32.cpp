// The system's converter: the code page is always named by the caller, never
// taken from the system's ANSI setting.
#include <windows.h>

#include "runner/text_buffers.h"

int MultiByteToWide(std::uint32_t codePage, const char* string, char16_t* output, int outputUnits) {
    return MultiByteToWideChar(codePage, 0, string, -1, reinterpret_cast<wchar_t*>(output), outputUnits);
}

int WideToMultiByte(std::uint32_t codePage, const char16_t* units, int count, char* output, int outputBytes) {
    return WideCharToMultiByte(codePage, 0, reinterpret_cast<const wchar_t*>(units), count, output, outputBytes,
                               nullptr, nullptr);
}
