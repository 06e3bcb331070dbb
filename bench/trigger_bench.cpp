// The trigger port's latency, measured side by side in one run and printed as
// ratios (these machines are noisy; only ratios taken in one run mean anything):
//   latency: a client's one byte to the four-byte reply, through the real
//            DialServer.exe with an instant fake rasdial, against two
//            RunConsoleCommand runs of the same fake in this process;
//   scale:   the same latency with 1,000 idle clients connected, against with
//            the one client alone, in alternating blocks.
#include "tcp_client.h"

#include <cstdio>
#include <list>
#include <vector>

#include "app/program_globals.h"
#include "bench_timing.h"
#include "driver.h"
#include "expected_layout.h"
#include "fake_dialler.h"
#include "runner/console_runner.h"

namespace {

using namespace driver;

constexpr int kRounds = 100;
constexpr std::size_t kIdleClients = 1000;
constexpr int kBlocks = 4;  // alternating: alone, crowded, alone, crowded ...

using bench::Now;
using bench::Percentile;

double TwoRuns() {
    const double start = Now();
    RunConsoleCommand(Text("cmd /c rasdial AutoADSL /disconnect"));
    RunConsoleCommand(Text("cmd /c rasdial AutoADSL ADSL0730 730529"));
    return Now() - start;
}

// One trigger: a byte out, the reply back; negative when no reply came.
double Trigger(TcpClient& client) {
    const double start = Now();
    if (!client.Send("x") || client.Receive(4, 20000) != kReply) return -1;
    return Now() - start;
}

void Report(const char* name, const std::vector<double>& values) {
    std::printf("  %-34s median %7.1f ms   p99 %7.1f ms   (%zu)\n", name, 1000 * Percentile(values, 0.5),
                1000 * Percentile(values, 0.99), values.size());
}

}  // namespace

int main() {
    InitProgramGlobals();
    SetCurrentDirectoryW(OwnFolder().c_str());  // where the fake rasdial.exe is found first
    FakeDialler dialler;
    Program program(OwnFolder());
    const HWND window = program.MainWindow();
    if (window == nullptr) {
        std::printf("the program did not start\n");
        return 1;
    }
    const HWND clientField = MapControls(window)["编辑框4"];
    const auto arrive = [&](std::list<TcpClient>& into) -> TcpClient* {
        into.emplace_back();
        TcpClient& client = into.back();
        if (!WaitUntil([&] { return Cp936(WindowText(clientField)) == client.Name(); }, 30000)) return nullptr;
        return &client;
    };

    std::list<TcpClient> active;
    TcpClient* client = arrive(active);
    if (client == nullptr) return 1;
    std::vector<double> alone, crowded, directAlone, directCrowded;
    for (int block = 0; block < kBlocks; ++block) {
        const bool crowd = block % 2 == 1;
        std::list<TcpClient> idle;
        if (crowd) {
            for (std::size_t i = 0; i < kIdleClients; ++i) idle.emplace_back();
            active.clear();
            client = arrive(active);  // the one answered must be the last to arrive
            if (client == nullptr) return 1;
        }
        for (int round = 0; round < kRounds / 2; ++round) {  // two blocks of each kind
            const double pair = TwoRuns();
            const double trigger = Trigger(*client);
            if (trigger < 0) {
                std::printf("no reply\n");
                return 1;
            }
            (crowd ? crowded : alone).push_back(trigger);
            (crowd ? directCrowded : directAlone).push_back(pair);
        }
        if (crowd) {
            idle.clear();
            active.clear();
            Sleep(500);
            client = arrive(active);
            if (client == nullptr) return 1;
        }
    }
    active.clear();

    std::printf("trigger latency, %d triggers against as many pairs of runs:\n", kRounds);
    Report("two RunConsoleCommand runs", directAlone);
    Report("trigger to reply", alone);
    std::printf("  ratio of medians: %.2f (goal: at most 1.1)\n",
                Percentile(alone, 0.5) / Percentile(directAlone, 0.5));
    std::printf("scale, %zu idle clients against one client alone:\n", kIdleClients);
    Report("one client", alone);
    Report("with 1000 idle clients", crowded);
    std::printf("  ratio of medians: %.2f (goal: at most 1.1); each against its own pairs of runs: %.2f\n",
                Percentile(crowded, 0.5) / Percentile(alone, 0.5),
                (Percentile(crowded, 0.5) / Percentile(directCrowded, 0.5)) /
                    (Percentile(alone, 0.5) / Percentile(directAlone, 0.5)));
    PostMessageW(window, WM_CLOSE, 0, 0);
    program.WaitForExit(20000);
    return 0;
}
