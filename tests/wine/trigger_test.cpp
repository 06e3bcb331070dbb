// The trigger port end to end: the real DialServer.exe under Wine, real TCP
// clients on 127.0.0.1, and the fake rasdial.exe in the program's folder.
#include "tcp_client.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <list>

#include "program_fixture.h"

namespace {

using namespace driver;

const std::vector<std::string> kRedialArguments = {"AutoADSL|/disconnect", "AutoADSL|ADSL0730|730529"};
constexpr DWORD kRedialTimeoutMs = 20000;
constexpr DWORD kQuietMs = 700;  // how long "nothing arrives" is watched for

class TriggerTest : public ProgramTest {
protected:
    // Clients go first, so the program is never the side that closes a
    // connection (which would hold the port in TIME_WAIT for the next test).
    void BeforeClose() override { clients_.clear(); }

    TcpClient& Connect() {
        clients_.emplace_back();
        TcpClient& client = clients_.back();
        EXPECT_TRUE(client.Connected());
        return client;
    }
    // Connects and waits until the window shows the client's arrival.
    TcpClient& Arrive() {
        TcpClient& client = Connect();
        EXPECT_TRUE(WaitUntil([&] { return Field("编辑框4") == client.Name(); }))
            << "编辑框4 shows '" << Field("编辑框4") << "', not " << client.Name();
        return client;
    }
    // Waits until `runs` commands have run and the finish time of the last redial is written.
    void WaitForRedials(std::size_t runs) {
        ASSERT_TRUE(dialler_.WaitForRuns(runs, kRedialTimeoutMs)) << "the fake saw " << dialler_.Runs().size();
        ASSERT_TRUE(WaitUntil([&] { return !Field("编辑框7").empty(); })) << "no finish time";
    }

    std::list<TcpClient> clients_;
};

int Seconds(const std::string& stamp) {
    int fields[6];
    if (!ParseTimeStamp(stamp, fields)) return -1;
    return (fields[2] * 24 + fields[3]) * 3600 + fields[4] * 60 + fields[5];
}

TEST_F(TriggerTest, AClientThatOnlyConnectsIsShownWithItsTime) {
    TcpClient& client = Arrive();
    int fields[6];
    EXPECT_TRUE(ParseTimeStamp(Field("编辑框5"), fields)) << Field("编辑框5");
    for (const char* unchanged : {"编辑框6", "编辑框7", "编辑框8"}) EXPECT_EQ(Field(unchanged), "") << unchanged;
    EXPECT_EQ(Field("编辑框1"), "AutoADSL");
    EXPECT_EQ(client.Receive(1, kQuietMs), "") << "nothing is sent on connect";
    EXPECT_TRUE(dialler_.Runs().empty());
}

TEST_F(TriggerTest, OneByteHangsUpDialsAndRepliesFourBytes) {
    dialler_.SetHangUpOutput("X-hangup\r\n");
    dialler_.SetDialOutput("Y-dial\r\n");
    dialler_.SetDelay(1100);  // so the stamp after the hang-up lies after the arrival's
    TcpClient& client = Arrive();
    const int arrived = Seconds(Field("编辑框5"));
    ASSERT_TRUE(client.Send("a"));
    EXPECT_EQ(client.Receive(4, kRedialTimeoutMs), kReply);
    EXPECT_EQ(client.Receive(1, kQuietMs), "") << "nothing after the four bytes";
    EXPECT_FALSE(client.PeerClosed(0)) << "the connection stays open";

    EXPECT_EQ(ArgumentsSeen(), kRedialArguments);
    EXPECT_EQ(Field("编辑框6"), "3");
    EXPECT_EQ(Field("编辑框8"), "X-hangup\r\nY-dial\r\n");
    EXPECT_EQ(Field("编辑框4"), client.Name());
    const int afterHangUp = Seconds(Field("编辑框5"));
    const int afterDial = Seconds(Field("编辑框7"));
    EXPECT_GE(afterHangUp, arrived + 1) << "编辑框5 is stamped when the hang-up has ended";
    EXPECT_GE(afterDial, afterHangUp + 1);

    // Further data, further redials, further replies.
    dialler_.SetDelay(0);
    ASSERT_TRUE(client.Send("more data"));
    EXPECT_EQ(client.Receive(4, kRedialTimeoutMs), kReply);
    EXPECT_EQ(dialler_.Runs().size(), 4u);
}

TEST_F(TriggerTest, DataDuringASlowRedialStartsASecondOneAfterIt) {
    dialler_.SetDelay(800);
    TcpClient& client = Arrive();
    ASSERT_TRUE(client.Send("first"));
    ASSERT_TRUE(WaitUntil([&] { return dialler_.Runs().size() == 1; }));
    ASSERT_TRUE(client.Send("second"));  // while the hang-up runs
    EXPECT_EQ(client.Receive(8, 2 * kRedialTimeoutMs), kReply + kReply);
    EXPECT_EQ(ArgumentsSeen(), (std::vector<std::string>{kRedialArguments[0], kRedialArguments[1],
                                                         kRedialArguments[0], kRedialArguments[1]}));
    EXPECT_EQ(client.Receive(1, kQuietMs), "");
}

TEST_F(TriggerTest, TheReplyGoesToTheClientShownNotToTheSender) {
    TcpClient& a = Arrive();
    TcpClient& b = Arrive();
    ASSERT_TRUE(a.Send("x"));
    EXPECT_EQ(b.Receive(4, kRedialTimeoutMs), kReply);
    EXPECT_EQ(a.Receive(1, kQuietMs), "");
    EXPECT_EQ(dialler_.Runs().size(), 2u);
}

TEST_F(TriggerTest, AClearedClientFieldRedialsInFullAndSendsNothing) {
    TcpClient& client = Arrive();
    SetField("编辑框4", L"");
    ASSERT_TRUE(client.Send("x"));
    WaitForRedials(2);
    EXPECT_EQ(Field("编辑框6"), "3");
    EXPECT_EQ(client.Receive(1, kQuietMs), "");
}

TEST_F(TriggerTest, NothingIsSentWhenTheClientShownHasLeft) {
    TcpClient& a = Arrive();
    TcpClient& b = Arrive();
    const std::string gone = b.Name();
    b.Close();
    Sleep(500);  // its departure is handled
    ASSERT_TRUE(a.Send("x"));
    WaitForRedials(2);
    EXPECT_EQ(Field("编辑框4"), gone) << "a departure changes nothing in the window";
    EXPECT_EQ(a.Receive(1, kQuietMs), "");
    EXPECT_TRUE(program_->Running());
}

TEST_F(TriggerTest, DataThenACloseAtOnceStillRedialsAndTheProgramGoesOn) {
    TcpClient& quick = Arrive();
    ASSERT_TRUE(quick.Send("bye"));
    quick.Close();
    WaitForRedials(2);
    TcpClient& next = Arrive();
    ASSERT_TRUE(next.Send("x"));
    EXPECT_EQ(next.Receive(4, kRedialTimeoutMs), kReply);
}

TEST_F(TriggerTest, AResetDuringARedialIsHandledAfterIt) {
    dialler_.SetDelay(600);
    TcpClient& a = Arrive();
    ASSERT_TRUE(a.Send("x"));
    ASSERT_TRUE(WaitUntil([&] { return dialler_.Runs().size() == 1; }));
    a.Reset();
    WaitForRedials(2);
    dialler_.SetDelay(0);
    TcpClient& b = Arrive();
    ASSERT_TRUE(b.Send("x"));
    EXPECT_EQ(b.Receive(4, kRedialTimeoutMs), kReply);
}

// A dialler that leaves a helper running must not leave it the program's
// sockets: when the program ends, its clients see the end and the port is
// free for the next start, helper or not.
TEST_F(TriggerTest, AHelperLeftByTheDiallerHoldsNeitherThePortNorAClient) {
    dialler_.SetLinger(8000);
    TcpClient& client = Arrive();
    ASSERT_TRUE(client.Send("x"));
    ASSERT_EQ(client.Receive(4, kRedialTimeoutMs), kReply);
    PostMessageW(window_, WM_CLOSE, 0, 0);
    ASSERT_EQ(program_->WaitForExit(20000), 0u);
    EXPECT_TRUE(client.PeerClosed(2000)) << "the connection outlived the program";
    dialler_.SetLinger(0);
    StartProgram();
    TcpClient& next = Arrive();
    ASSERT_TRUE(next.Send("x"));
    EXPECT_EQ(next.Receive(4, kRedialTimeoutMs), kReply);
}

// A crowd at once: every client is accepted, each burst is one redial, every
// reply reaches the client shown (the last to arrive), and once they have all
// left the program holds about as much memory as before they came.
TEST_F(TriggerTest, ThreeHundredClientsAtOnceEachSendingOnce) {
    constexpr std::size_t kCrowd = 300;
    Sleep(500);  // the program settles after its start
    const std::size_t workingSetBefore = program_->WorkingSet();
    const std::size_t privateBefore = program_->PrivateBytes();
    std::vector<TcpClient> crowd;
    crowd.reserve(kCrowd);
    for (std::size_t i = 0; i < kCrowd; ++i) {
        crowd.emplace_back();
        ASSERT_TRUE(crowd.back().Connected()) << "client " << i;
    }
    ASSERT_TRUE(WaitUntil([&] { return Field("编辑框4") == crowd.back().Name(); }, 30000))
        << "the last arrival shown: " << Field("编辑框4");
    for (TcpClient& client : crowd) ASSERT_TRUE(client.Send("x"));
    ASSERT_TRUE(dialler_.WaitForRuns(2 * kCrowd, 480000)) << "runs seen: " << dialler_.Runs().size();
    const std::string replies = crowd.back().Receive(4 * kCrowd, kRedialTimeoutMs);
    std::string expected;
    for (std::size_t i = 0; i < kCrowd; ++i) expected += kReply;
    EXPECT_TRUE(replies == expected) << replies.size() << " bytes of replies";
    Sleep(kQuietMs);
    EXPECT_EQ(dialler_.Runs().size(), 2 * kCrowd) << "one redial per burst";
    for (std::size_t i = 0; i + 1 < kCrowd; i += 37) EXPECT_EQ(crowd[i].Receive(1, 0), "") << "client " << i;
    ASSERT_TRUE(program_->Running());

    crowd.clear();
    Sleep(1500);  // their departures are handled
    const std::size_t workingSetAfter = program_->WorkingSet();
    const std::size_t privateAfter = program_->PrivateBytes();
    std::printf("working set %zu KiB -> %zu KiB, private %zu KiB -> %zu KiB\n", workingSetBefore / 1024,
                workingSetAfter / 1024, privateBefore / 1024, privateAfter / 1024);
    EXPECT_LT(privateAfter, privateBefore + 1024 * 1024);
    EXPECT_LT(workingSetAfter, workingSetBefore + 2 * 1024 * 1024);
    TcpClient& last = Connect();
    ASSERT_TRUE(WaitUntil([&] { return Field("编辑框4") == last.Name(); })) << "still listening";
}

// Another program holds the port when this one starts: the window works as
// usual, no message is shown, and the program never listens.
class PortTakenTest : public TriggerTest {
protected:
    void SetUp() override {
        holder_ = std::make_unique<PortHolder>();
        ASSERT_TRUE(holder_->Holding());
        StartProgram();
    }
    std::unique_ptr<PortHolder> holder_;
};

TEST_F(PortTakenTest, TheWindowWorksAndStaysDeafWithoutAWord) {
    TcpClient& client = Connect();  // reaches the other program's listener
    Sleep(kQuietMs);
    EXPECT_EQ(Field("编辑框4"), "");
    EXPECT_EQ(FindTopLevelWindow(program_->ProcessId(), L"错误"), nullptr);
    EXPECT_EQ(ChildWindows(window_).size(), std::size(kExpected) + 1) << "the controls and the hidden 服务器1";
    client.Close();
    holder_.reset();
    TcpClient later;
    EXPECT_FALSE(later.Connected()) << "it never retries";
    Click("按钮1");
    ASSERT_TRUE(dialler_.WaitForRuns(1));
    EXPECT_EQ(ArgumentsSeen(), std::vector<std::string>{kRedialArguments[1]});
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
