// A small console program that the tests run through the command runner. Its
// first argument says how to behave:
//   bursts        "one" on stdout, "two" on stderr, "three" on stdout, with pauses
//   nul           "AB", a NUL byte, "CD"
//   cp936         the code-page-936 bytes of 拨号 and CR LF
//   big N         N MiB of the bytes 1..251 repeated (no NUL)
//   stdin         reads its input to the end, then prints "eof"
//   exit259       prints "x" and exits with code 259
//   lastwords     waits, prints 3000 bytes and exits at once
//   echo          prints its raw command line as code-page-936 bytes
//   sleep MS      waits MS milliseconds, then prints "woke"
#include <windows.h>

#include <string>
#include <vector>

#include "cp936.h"

namespace {

void Write(HANDLE out, const void* data, DWORD size) {
    DWORD written = 0;
    WriteFile(out, data, size, &written, nullptr);
}

void Write(HANDLE out, const std::string& text) { Write(out, text.data(), static_cast<DWORD>(text.size())); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"bursts") {
        Write(out, "one");
        Sleep(40);
        Write(err, "two");
        Sleep(40);
        Write(out, "three");
    } else if (mode == L"nul") {
        Write(out, "AB\0CD", 5);
    } else if (mode == L"cp936") {
        Write(out, "\xB2\xA6\xBA\xC5\r\n");
    } else if (mode == L"big" && argc > 2) {
        // Bytes 1..251 repeated: no NUL, so the whole output reaches the Text.
        std::vector<char> block(65536);
        for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(1 + i % 251);
        const long long total = static_cast<long long>(_wtoi(argv[2])) * 1024 * 1024;
        for (long long sent = 0; sent < total; sent += static_cast<long long>(block.size())) {
            Write(out, block.data(), static_cast<DWORD>(block.size()));
        }
    } else if (mode == L"stdin") {
        char buffer[256];
        DWORD read = 0;
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        }
        Write(out, "eof");
    } else if (mode == L"exit259") {
        Write(out, "x");
        ExitProcess(259);
    } else if (mode == L"lastwords") {
        Sleep(150);
        Write(out, std::string(3000, 'z'));
        ExitProcess(0);
    } else if (mode == L"echo") {
        Write(out, Cp936(GetCommandLineW()));
    } else if (mode == L"sleep" && argc > 2) {
        Sleep(static_cast<DWORD>(_wtoi(argv[2])));
        Write(out, "woke");
    }
    return 0;
}
