// Starts the command interpreter in a hidden console with an anonymous pipe as
// its standard output and standard error, and collects what it writes until it
// has ended. Runs on the GUI thread and handles no window messages meanwhile.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>

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

// Whatever a single read may take at once. A pipe read returns what is there
// without waiting for the rest, so asking for more than the peek reported never
// blocks, and a writer with a large block pending hands it over in one read.
constexpr DWORD kLargestRead = 64 * 1024;

// Reads the bytes that the peek reported, and any that followed them, straight
// onto the end of the output.
void ReadWaiting(HANDLE pipe, DWORD waiting, std::string& output) {
    const DWORD count = std::max(waiting, kLargestRead);
    const std::size_t before = output.size();
    // Grow geometrically, so that collecting stays linear in the output's size.
    if (output.capacity() < before + count) output.reserve(std::max<std::size_t>(output.capacity() * 2, before + count));
    output.resize(before + count);
    DWORD read = 0;
    if (!ReadFile(pipe, output.data() + before, count, &read, nullptr)) read = 0;
    output.resize(before + read);
}

// A child that is printing leaves the pipe empty only for the moment between
// two writes, while a sleep lasts at least a timer tick (15.6 ms by default on
// Windows): so right after data only the rest of the time slice is given up,
// and only a pipe that stays empty is polled at the 1 ms pace.
constexpr int kYieldingPasses = 512;

void PauseOnEmptyPipe(int emptyPasses) { Sleep(emptyPasses < kYieldingPasses ? 0 : 1); }

bool HasEnded(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

std::string Collect(HANDLE pipe, HANDLE process) {
    std::string output;
    int emptyPasses = 0;
    for (;;) {
        const DWORD waiting = BytesWaiting(pipe);
        if (waiting > 0) {
            ReadWaiting(pipe, waiting, output);
            emptyPasses = 0;
            continue;  // more may be waiting already: sleep only on an empty pipe
        }
        // The process handle, not the exit code, tells the end: a child may
        // really exit with 259 (STILL_ACTIVE).
        if (HasEnded(process)) break;
        PauseOnEmptyPipe(emptyPasses++);
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
    std::string output = Collect(readEnd.Get(), process.Get());
    process.Close();
    readEnd.Close();
    if (output.empty()) return ByteBuffer();
    output.push_back('\0');
    return ByteBuffer(std::move(output));
}
