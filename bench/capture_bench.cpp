// Side-by-side measurements of the command runner, printed as ratios (these
// machines are noisy; only ratios taken in one run mean anything):
//   throughput: 64 MiB printed by console_helper, collected by RunConsoleCommand,
//               against a plain blocking ReadFile loop over the same command;
//   memory:     peak growth of the process while collecting, against the output size;
//   overhead:   RunConsoleCommand of a trivial command against CreateProcessW and
//               WaitForSingleObject of the same interpreter line, median of 50 each.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/program_globals.h"
#include "bench_timing.h"
#include "runner/console_runner.h"

namespace {

using bench::Median;
using bench::Now;

std::wstring Interpreter() {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\cmd.exe";
}

// The plain way: one process, one pipe, blocking reads until the pipe breaks.
std::size_t PlainCapture(const std::wstring& line) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &sa, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    si.hStdOutput = si.hStdError = writeEnd;
    std::wstring commandLine = line;
    PROCESS_INFORMATION pi{};
    const std::wstring path = Interpreter();
    CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    std::vector<char> output;
    std::vector<char> chunk(65536);
    DWORD read = 0;
    while (ReadFile(readEnd, chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) && read > 0) {
        output.insert(output.end(), chunk.begin(), chunk.begin() + read);
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(readEnd);
    return output.size();
}

double StartAndWait(const std::wstring& line) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    std::wstring commandLine = line;
    PROCESS_INFORMATION pi{};
    const std::wstring path = Interpreter();
    const double start = Now();
    CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    WaitForSingleObject(pi.hProcess, INFINITE);
    const double elapsed = Now() - start;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return elapsed;
}

SIZE_T WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}

// Samples the working set every millisecond while it lives; keeps the highest.
class PeakSampler {
public:
    PeakSampler() : thread_(CreateThread(nullptr, 0, &PeakSampler::Run, this, 0, nullptr)) {}
    ~PeakSampler() { Stop(); }
    SIZE_T Stop() {
        if (thread_ != nullptr) {
            stop_ = true;
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
            thread_ = nullptr;
        }
        return peak_;
    }

private:
    static DWORD WINAPI Run(void* self) {
        auto* sampler = static_cast<PeakSampler*>(self);
        while (!sampler->stop_) {
            sampler->peak_ = std::max(sampler->peak_, WorkingSet());
            Sleep(1);
        }
        return 0;
    }
    volatile bool stop_ = false;
    SIZE_T peak_ = 0;
    HANDLE thread_;
};

}  // namespace

int main() {
    InitProgramGlobals();
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    *wcsrchr(self, L'\\') = L'\0';
    SetCurrentDirectoryW(self);

    constexpr std::size_t kOutput = 64u * 1024 * 1024;
    // Memory first, while the process has not yet grown for anything else.
    const SIZE_T base = WorkingSet();
    double runnerSeconds = 0;
    double peakRatio = 0;
    {
        PeakSampler sampler;
        const double start = Now();
        const Text output = RunConsoleCommand("console_helper big 64");
        runnerSeconds = Now() - start;
        peakRatio = static_cast<double>(sampler.Stop() - base) / kOutput;
        if (output.Length() != kOutput) std::printf("runner returned %zu bytes!\n", output.Length());
    }

    std::vector<double> runner{runnerSeconds};
    std::vector<double> plain;
    for (int round = 0; round < 7; ++round) {
        double start = Now();
        const std::size_t plainBytes = PlainCapture(L" /c console_helper big 64");
        plain.push_back(Now() - start);
        if (plainBytes != kOutput) std::printf("plain loop read %zu bytes!\n", plainBytes);
        if (round == 6) break;
        start = Now();
        RunConsoleCommand("console_helper big 64");
        runner.push_back(Now() - start);
    }
    const double runnerMedian = Median(runner);
    const double plainMedian = Median(plain);
    std::printf("capture 64 MiB: runner %.3f s (%.0f MB/s), plain ReadFile loop %.3f s: ratio %.2f (goal <= 1.3)\n",
                runnerMedian, 64 / runnerMedian, plainMedian, runnerMedian / plainMedian);
    std::printf("collection peak working set: %.2f x the output size (goal <= 3)\n", peakRatio);

    std::vector<double> trivialRunner;
    std::vector<double> trivialPlain;
    for (int i = 0; i < 50; ++i) {
        const double start = Now();
        RunConsoleCommand("rem");
        trivialRunner.push_back(Now() - start);
        trivialPlain.push_back(StartAndWait(L" /c rem"));
    }
    std::printf("per run: runner %.1f ms, CreateProcessW + wait %.1f ms (medians of 50): ratio %.2f (goal <= 1.2)\n",
                Median(trivialRunner) * 1000, Median(trivialPlain) * 1000,
                Median(trivialRunner) / Median(trivialPlain));
    return 0;
}
