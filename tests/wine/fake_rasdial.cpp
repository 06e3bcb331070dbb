// Stands in for the system's rasdial.exe in the tests: it sits in the
// program's folder, where the interpreter finds it first. Each run appends to
// rasdial-log.txt, beside it, one line:
//   begin <TAB> raw command line <TAB> current folder <TAB> arguments joined by '|'
// then waits the milliseconds in rasdial-delay.txt, prints the bytes of
// rasdial-hangup.out (when "/disconnect" is an argument) or rasdial-dial.out,
// and appends "end". A missing file means no delay, or no output. With a
// number of milliseconds in rasdial-linger.txt it also leaves a helper behind
// that outlives it by that long, holding every handle it could inherit, as a
// dialler that starts a background helper would.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "cp936.h"

namespace {

std::wstring Folder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path);
    return full.substr(0, full.rfind(L'\\') + 1);
}


std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void AppendLog(const std::wstring& folder, const std::string& line) {
    std::ofstream log((folder + L"rasdial-log.txt").c_str(), std::ios::binary | std::ios::app);
    log << line << "\n";
}

// Starts a copy of this program that only waits, with every inheritable handle.
void LeaveHelper(int milliseconds) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(path) + L"\" --linger " + std::to_wstring(milliseconds);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
}

}  // namespace

// The C runtime's own argument split, as rasdial's would be; no shell32, whose
// loading would make every run several times slower under Wine.
int wmain(int argc, wchar_t** argv) {
    const std::wstring folder = Folder();
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    std::wstring args;
    bool hangUp = false;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) args += L"|";
        args += argv[i];
        hangUp = hangUp || lstrcmpiW(argv[i], L"/disconnect") == 0;
    }
    if (argc == 3 && lstrcmpW(argv[1], L"--linger") == 0) {
        Sleep(static_cast<DWORD>(_wtoi(argv[2])));
        return 0;
    }
    AppendLog(folder, "begin\t" + Cp936(GetCommandLineW()) + "\t" + Cp936(cwd) + "\t" + Cp936(args));

    const int delay = std::atoi(ReadFileBytes(folder + L"rasdial-delay.txt").c_str());
    if (delay > 0) Sleep(static_cast<DWORD>(delay));
    const std::string output = ReadFileBytes(folder + (hangUp ? L"rasdial-hangup.out" : L"rasdial-dial.out"));
    DWORD written = 0;
    if (!output.empty()) {
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), output.data(), static_cast<DWORD>(output.size()), &written, nullptr);
    }
    const int linger = std::atoi(ReadFileBytes(folder + L"rasdial-linger.txt").c_str());
    if (linger > 0) LeaveHelper(linger);
    AppendLog(folder, "end");
    return 0;
}
