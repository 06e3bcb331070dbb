// Portable pieces of start-up: where the program runs its commands from, and
// the wording of the one fatal error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The folder that holds the program file: its full path cut at the last
// backslash. A program in a drive's root keeps the backslash ("C:\"), since
// "C:" alone would name the drive's current directory, not its root.
std::u16string ProgramFolder(std::u16string_view programPath);

inline constexpr std::u16string_view kFatalErrorTitle = u"错误";
inline constexpr std::u16string_view kWindowCreationFailed = u"载入启动窗口失败";

// "运行时出错!" and a line break; then, for each part the error has, a line
// break and "错误代码：" with the code in decimal, or "错误信息：" with the message.
std::u16string FatalErrorText(std::optional<std::uint32_t> code, std::u16string_view message);
