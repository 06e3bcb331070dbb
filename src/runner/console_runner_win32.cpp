// Starts the command interpreter in a hidden console with an anonymous pipe as
// its standard output and standard error, and collects what it writes until it
// has ended. Runs on the GUI thread and handles no window messages meanwhile.
#include <windows.h>
#include <shlobj.h>

#include "app/program_globals.h"
#include "runner/console_runner.h"
#include "runner/unique_handle_win32.h"

#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(STARTUPINFOW) == 68, "STARTUPINFOW of the 32-bit system");
static_assert(sizeof(SECURITY_ATTRIBUTES) == 12, "SECURITY_ATTRIBUTES of the 32-bit system");
#endif

namespace {

SECURITY_ATTRIBUTES InheritableAttributes() {
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = nullptr;
    attributes.bInheritHandle = TRUE;
    return attributes;
}

// The child reads end-of-file at once: it can neither wait for input that never
// comes nor take bytes of its own output from the pipe.
UniqueHandle OpenNulForInput(SECURITY_ATTRIBUTES& attributes) {
    return UniqueHandle(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes,
                                    OPEN_EXISTING, 0, nullptr));
}

WideBuffer SystemFolderBuffer() {
    WideBuffer folder = ZeroBuffer(kPathUnits * 2);
    SHGetSpecialFolderPathW(nullptr, reinterpret_cast<wchar_t*>(folder.MutableData()), CSIDL_SYSTEM, FALSE);
    return folder;
}

DWORD BytesWaiting(HANDLE pipe) {
    DWORD count = 0;
    // A failed peek counts as nothing waiting: never a read of zero bytes.
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &count, nullptr)) return 0;
    return count;
}

// Reads `count` bytes that the peek reported straight onto the end of the output.
void ReadWaiting(HANDLE pipe, DWORD count, std::vector<std::uint8_t>& output) {
    const std::size_t before = output.size();
    output.resize(before + count);
    DWORD read = 0;
    if (!ReadFile(pipe, output.data() + before, count, &read, nullptr)) read = 0;
    output.resize(before + read);
}

bool HasEnded(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

std::vector<std::uint8_t> Collect(HANDLE pipe, HANDLE process) {
    std::vector<std::uint8_t> output;
    for (;;) {
        const DWORD waiting = BytesWaiting(pipe);
        if (waiting > 0) {
            ReadWaiting(pipe, waiting, output);
            continue;  // more may be waiting already: sleep only on an empty pipe
        }
        // The process handle, not the exit code, tells the end: a child may
        // really exit with 259 (STILL_ACTIVE).
        if (HasEnded(process)) break;
        Sleep(1);
    }
    // What the child wrote just before it ended is in the pipe now; take it.
    // Peeking, not blocking: a process the child left behind may still hold
    // the write end open.
    for (DWORD waiting = BytesWaiting(pipe); waiting > 0; waiting = BytesWaiting(pipe)) {
        ReadWaiting(pipe, waiting, output);
    }
    return output;
}

}  // namespace

ByteBuffer CaptureConsoleOutput(const WideBuffer& command) {
    SECURITY_ATTRIBUTES attributes = InheritableAttributes();
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!CreatePipe(readEnd.Receive(), writeEnd.Receive(), &attributes, 0)) return ByteBuffer();
    UniqueHandle input = OpenNulForInput(attributes);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = input.Get();
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();

    WideBuffer path = InterpreterPath(SystemFolderBuffer(), OsVersionWord);
    WideBuffer commandLine = InterpreterCommandLine(command);
    PROCESS_INFORMATION child{};
    const bool started = !path.Empty() && !commandLine.Empty() &&
                         CreateProcessW(reinterpret_cast<const wchar_t*>(path.Data()),
                                        reinterpret_cast<wchar_t*>(commandLine.MutableData()), &attributes, nullptr,
                                        TRUE, 0, nullptr, nullptr, &startup, &child);
    // Only the child may hold the write end now, or the pipe never reports its end.
    writeEnd.Close();
    input.Close();
    if (!started) return ByteBuffer();

    UniqueHandle process(child.hProcess);
    CloseHandle(child.hThread);
    WaitForInputIdle(process.Get(), 1000);
    std::vector<std::uint8_t> output = Collect(readEnd.Get(), process.Get());
    process.Close();
    readEnd.Close();
    if (output.empty()) return ByteBuffer();
    output.push_back(0);
    return ByteBuffer(std::move(output));
}
