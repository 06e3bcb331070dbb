// The three buttons end to end: the real DialServer.exe under Wine, the fake
// rasdial.exe in its folder, the operator's clicks as real mouse input.
#include <gtest/gtest.h>

#include "program_fixture.h"

namespace {

using namespace driver;

const std::string kDone = "\xC3\xFC\xC1\xEE\xD2\xD1\xCD\xEA\xB3\xC9\xA1\xA3\r\n";  // 命令已完成。CR LF
const std::string kHangUpLine = "rasdial AutoADSL /disconnect";
const std::string kDialLine = "rasdial AutoADSL ADSL0730 730529";

class DialTest : public ProgramTest {
protected:
    // Clicks and waits until the operation's commands have run and its finish
    // time is written.
    void ClickAndWait(const char* button, std::size_t runsAfter) {
        SetField("编辑框7", L"");
        Click(button);
        ASSERT_TRUE(dialler_.WaitForRuns(runsAfter)) << "the fake saw " << dialler_.Runs().size() << " runs";
        ASSERT_TRUE(WaitUntil([&] { return !Field("编辑框7").empty(); })) << "no finish time";
    }
};

struct ButtonCase {
    const char* name;
    const char* button;
    std::vector<std::string> arguments;
    const char* task;
    std::string result;
};

class ButtonTest : public DialTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonTest, RunsItsCommandsAndRecordsThem) {
    const ButtonCase& c = GetParam();
    dialler_.SetHangUpOutput("X-hangup" + kDone);
    dialler_.SetDialOutput("Y-dial" + kDone);
    SetField("编辑框8", L"old result");
    ClickAndWait(c.button, c.arguments.size());

    EXPECT_EQ(ArgumentsSeen(), c.arguments);
    for (const DiallerRun& run : dialler_.Runs()) {
        // Unquoted, through a second interpreter, run in the program's own folder.
        EXPECT_TRUE(run.commandLine == kHangUpLine || run.commandLine == kDialLine) << run.commandLine;
        EXPECT_EQ(CompareStringOrdinal(std::wstring(run.folder.begin(), run.folder.end()).c_str(), -1,
                                       OwnFolder().c_str(), -1, TRUE),
                  CSTR_EQUAL)
            << run.folder;
    }
    EXPECT_EQ(Field("编辑框6"), c.task);
    EXPECT_EQ(Field("编辑框8"), c.result) << "the output, line breaks and all, replaced or appended";
    int start[6], finish[6];
    ASSERT_TRUE(ParseTimeStamp(Field("编辑框5"), start)) << Field("编辑框5");
    ASSERT_TRUE(ParseTimeStamp(Field("编辑框7"), finish)) << Field("编辑框7");
    EXPECT_LE(std::vector<int>(start, start + 6), std::vector<int>(finish, finish + 6));
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_EQ(finish[0], now.wYear);
    EXPECT_EQ(finish[1], now.wMonth);
    EXPECT_EQ(Field("编辑框4"), "") << "a button touches no client field";
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ButtonTest,
    ::testing::Values(
        ButtonCase{"Connect", "按钮1", {"AutoADSL|ADSL0730|730529"}, "1", "Y-dial" + kDone},
        ButtonCase{"Disconnect", "按钮2", {"AutoADSL|/disconnect"}, "2", "X-hangup" + kDone},
        ButtonCase{"Reconnect", "按钮3", {"AutoADSL|/disconnect", "AutoADSL|ADSL0730|730529"}, "3",
                   "X-hangup" + kDone + "Y-dial" + kDone}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialTest, SettingsGoIntoTheCommandLinesAsTheyStand) {
    SetField("编辑框1", L"My ADSL");
    SetField("编辑框2", L"拨号");
    ClickAndWait("按钮3", 2);
    EXPECT_EQ(ArgumentsSeen(), (std::vector<std::string>{"My|ADSL|/disconnect", "My|ADSL|\xB2\xA6\xBA\xC5|730529"}));

    SetField("编辑框1", L"");
    SetField("编辑框2", L"");
    SetField("编辑框3", L"");
    ClickAndWait("按钮3", 4);
    ASSERT_EQ(ArgumentsSeen().size(), 4u);
    EXPECT_EQ(ArgumentsSeen()[2], "/disconnect");
    EXPECT_EQ(ArgumentsSeen()[3], "");
}

TEST_F(DialTest, ACommandThatPrintsNothingEmptiesTheResult) {
    SetField("编辑框8", L"old result");
    ClickAndWait("按钮1", 1);
    EXPECT_EQ(Field("编辑框8"), "");
    EXPECT_EQ(Field("编辑框6"), "1");
}

TEST_F(DialTest, AClickDuringASlowCommandIsHandledAfterIt) {
    dialler_.SetDelay(1500);
    dialler_.SetDialOutput("dialled");
    dialler_.SetHangUpOutput("hung up");
    Click("按钮1");
    ASSERT_TRUE(WaitUntil([&] { return dialler_.Runs().size() == 1; }));
    Click("按钮2");  // while the dial still runs
    ASSERT_TRUE(dialler_.WaitForRuns(2));
    ASSERT_TRUE(WaitUntil([&] { return Field("编辑框6") == "2" && Field("编辑框8") == "hung up"; }));
    EXPECT_EQ(ArgumentsSeen(), (std::vector<std::string>{"AutoADSL|ADSL0730|730529", "AutoADSL|/disconnect"}));
}

TEST_F(DialTest, ACloseRequestDuringASlowCommandWaitsForIt) {
    dialler_.SetDelay(1500);
    Click("按钮1");
    ASSERT_TRUE(WaitUntil([&] { return dialler_.Runs().size() == 1; }));
    PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    Sleep(500);
    EXPECT_EQ(program_->WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE)) << "closed while the command ran";
    EXPECT_EQ(program_->WaitForExit(20000), 0u);
    ASSERT_FALSE(dialler_.Runs().empty());
    EXPECT_TRUE(dialler_.Runs()[0].ended);
    window_ = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
