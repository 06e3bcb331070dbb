#include "runner/console_runner.h"

const char* InterpreterFileName(std::uint32_t osVersionWord) {
    return osVersionWord >= 0x0501 ? "\\cmd.exe" : "\\command.com";
}

Text RunConsoleCommand(const Text& commandLine) {
    return TextFromBuffer(CaptureConsoleOutput(WidenText(commandLine, false)));
}

WideBuffer InterpreterCommandLine(const WideBuffer& command) {
    constexpr std::int32_t roomBytes = kCommandLineUnits * 2;
    const WideBuffer joined = JoinBuffers(WidenText(" /c ", true), command);
    // The system refuses longer lines; some interpreters crash on them instead.
    if (WideLength(joined) + 1 > static_cast<std::size_t>(kCommandLineUnits)) return WideBuffer();
    const std::int32_t fill = roomBytes - static_cast<std::int32_t>(joined.Length());
    if (fill > 0) return JoinBuffers(joined, ZeroBuffer(fill));
    // Already full: make sure the line ends in a NUL unit within the buffer.
    return WideLength(joined) * 2 < joined.Length() ? joined : JoinBuffers(joined, ZeroBuffer(2));
}

WideBuffer InterpreterPath(const WideBuffer& systemFolder, std::uint32_t osVersionWord) {
    const WideBuffer name = WidenText(InterpreterFileName(osVersionWord), false);
    const std::size_t offset = WideLength(systemFolder) * 2;
    if (offset + name.Length() > systemFolder.Length()) return WideBuffer();
    return PutBytesAt(systemFolder, offset, name);
}
