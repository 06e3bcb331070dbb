// The console command runner on the real system: the interpreter, pipes and
// processes of Windows (here Wine's), with console_helper.exe as the command.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "app/program_globals.h"
#include "runner/console_runner.h"

namespace {

struct Case {
    const char* name;
    std::string command;
    std::string output;
};

class RunnerTest : public ::testing::TestWithParam<Case> {};

TEST_P(RunnerTest, ReturnsWhatTheCommandPrinted) {
    const Case& c = GetParam();
    EXPECT_EQ(RunConsoleCommand(Text(c.command)).Bytes(), c.output);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RunnerTest,
    ::testing::Values(
        Case{"BurstsJoinedInOrder", "console_helper bursts", "onetwothree"},
        Case{"CutAtTheFirstNul", "console_helper nul", "AB"},
        Case{"Cp936BytesUnchanged", "console_helper cp936", "\xB2\xA6\xBA\xC5\r\n"},
        Case{"NothingLostAtExit", "console_helper lastwords", std::string(3000, 'z')},
        Case{"ChildReadingItsInputEnds", "console_helper stdin", "eof"},
        Case{"ExitCode259Ends", "console_helper exit259", "x"},
        Case{"NestedInterpreterAsTheDialCommandsUseIt", "cmd /c console_helper bursts", "onetwothree"},
        Case{"CommandThatPrintsNothing", "rem nothing", ""},
        Case{"EmptyCommandRunsTheBareSwitch", "", ""},
        Case{"ChineseReachesTheChildAsTheSameCharacters", "console_helper echo \xB2\xA6\xBA\xC5 AutoADSL",
             "console_helper echo \xB2\xA6\xBA\xC5 AutoADSL"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunnerLimitsTest, CommandLinesLongerThanTheSystemTakesGiveEmptyText) {
    EXPECT_EQ(RunConsoleCommand(Text("console_helper echo " + std::string(40000, 'a'))), Text());
    // The longest line the system accepts still runs: " /c " + command + NUL = 32767 units.
    const std::string prefix = "console_helper echo ";
    const std::string longest = prefix + std::string(32767 - 4 - 1 - prefix.size(), 'b');
    // The interpreter has a shorter limit of its own and says so (or fails) in
    // its output; the point is that it was started and the runner came back.
    EXPECT_FALSE(RunConsoleCommand(Text(longest)).Empty());
    // Within the interpreter's limit a long line reaches the child whole.
    const std::string long8000 = prefix + std::string(8000 - prefix.size(), 'c');
    EXPECT_EQ(RunConsoleCommand(Text(long8000)).Bytes(), long8000);
}

TEST(RunnerLimitsTest, SixtyFourMebibytesComeBackWhole) {
    const Text output = RunConsoleCommand("console_helper big 64");
    ASSERT_EQ(output.Length(), 64u * 1024 * 1024);
    for (std::size_t i = 0; i < output.Length(); i += 65536 + 7) {
        ASSERT_EQ(static_cast<unsigned char>(output.View()[i]), 1 + (i % 65536) % 251) << i;
    }
}

// Handles are probed: the handle table hands out the lowest free slot again,
// so after runs that closed everything a new handle gets the value of one made
// before them.
HANDLE ProbeHandle() {
    HANDLE probe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(probe);
    return probe;
}

TEST(RunnerLimitsTest, NoHandleLeftOpenAfterManyRuns) {
    RunConsoleCommand("rem warm-up");
    RunConsoleCommand(Text(std::string(40000, 'a')));
    const HANDLE before = ProbeHandle();
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(RunConsoleCommand("console_helper nul"), Text("AB"));
        EXPECT_EQ(RunConsoleCommand(Text(std::string(40000, 'a'))), Text());  // refused start
    }
    EXPECT_EQ(ProbeHandle(), before);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    InitProgramGlobals();
    // The commands find console_helper.exe in the current folder, as the
    // program's commands find rasdial.exe in the program's folder.
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    *wcsrchr(path, L'\\') = L'\0';
    SetCurrentDirectoryW(path);
    // A runner that never returns must fail the run, not hang it.
    std::thread([] {
        Sleep(240000);
        fprintf(stderr, "runner tests: time-out, a command never ended\n");
        ExitProcess(3);
    }).detach();
    return RUN_ALL_TESTS();
}
