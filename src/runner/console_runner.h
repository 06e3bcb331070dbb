// Runs one command line through the system's command interpreter in a hidden
// console and hands back everything it printed.
#pragma once

#include "runner/text_buffers.h"

// The interpreter's file name for a system version word: the old shell before 5.1.
const char* InterpreterFileName(std::uint32_t osVersionWord);

// Everything the command wrote to its standard output and standard error, up
// to the first NUL byte; empty when it printed nothing or could not start.
// Blocks until the command has ended.
Text RunConsoleCommand(const Text& commandLine);

// Platform layer: starts the interpreter with " /c " and `command` (UTF-16 with
// its terminator) and collects its output. Empty when nothing was written or
// the interpreter could not be started; otherwise the bytes and one NUL.
ByteBuffer CaptureConsoleOutput(const WideBuffer& command);

// Room of the interpreter's command line, in UTF-16 units, terminator included:
// the most the system accepts for a new process.
inline constexpr std::int32_t kCommandLineUnits = 32767;
// Room of the interpreter's path, in UTF-16 units, terminator included.
inline constexpr std::int32_t kPathUnits = 260;

// The interpreter's command line: " /c " and the command, zero-filled to the
// full room. Empty when the result would not fit the room the system accepts.
WideBuffer InterpreterCommandLine(const WideBuffer& command);
// The interpreter's path: `systemFolder` (a zero-filled path buffer) with the
// file name written behind its last character. Empty when the name and its
// terminator do not fit behind the folder.
WideBuffer InterpreterPath(const WideBuffer& systemFolder, std::uint32_t osVersionWord);
