// UTF-16 to code-page-936 bytes, for comparing what the tests see with Texts.
#pragma once

#include <windows.h>

#include <string>

inline std::string Cp936(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}
