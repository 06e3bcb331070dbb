// UTF-16 strings of the portable code as the wide strings of the Win32 API.
// On Windows wchar_t is a UTF-16 unit, so this is a plain copy.
#pragma once

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

inline std::wstring WideFromUtf16(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string Utf16FromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}
