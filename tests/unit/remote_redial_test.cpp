// The order of the remote handlers' reads, writes, commands and reply, with fakes.
#include "dial/remote_redial.h"

#include <gtest/gtest.h>

#include "dial_fakes.h"

namespace {

using fakes::Fixture;
using fakes::kDial;
using fakes::kHangUp;
using fakes::Stamp;
using layout::Control;
using Steps = std::vector<std::string>;

TEST(RemoteRedialTest, ClientArrivalShowsOnlyTheAddressAndTheTime) {
    Fixture f;
    f.clients.current = "10.0.0.5:49152";
    OnClientArrived(f.context, f.clients);
    EXPECT_EQ(f.recorder.steps,
              (Steps{"current client", "S 编辑框4 10.0.0.5:49152", "clock", "S 编辑框5 " + Stamp(8)}));
}

TEST(RemoteRedialTest, RedialStampsAfterTheHangUpAndAnswersTheClientShown) {
    struct Case {
        const char* name;
        Text shown;  // 编辑框4 when the redial ends
        std::vector<Text> outputs;
        const char* result;
    };
    const Case cases[] = {
        {"AnswersTheClientShownNotTheSender", "10.0.0.6:50000", {"X\r\n", "Y\r\n"}, "X\r\nY\r\n"},
        {"EmptyFieldStillRedialsInFull", "", {"X", "Y"}, "XY"},
        {"SilentHangUp", "10.0.0.6:50000", {"", "Y"}, "Y"},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.clients.current = "10.0.0.5:49152";  // the sender
        f.window.texts[Control::编辑框4] = c.shown;
        f.window.texts[Control::编辑框8] = "old result";
        f.runner.outputs = c.outputs;
        RemoteRedial(f.context, f.clients);
        const std::string hangUpOutput(c.outputs[0].View());
        const std::string dialOutput(c.outputs[1].View());
        EXPECT_EQ(f.recorder.steps,
                  (Steps{"S 编辑框6 3", "R 编辑框1", kHangUp, "S 编辑框8 " + hangUpOutput, "clock",
                         "S 编辑框5 " + Stamp(8), "R 编辑框1", "R 编辑框2", "R 编辑框3", kDial,
                         "A 编辑框8 " + dialOutput, "clock", "S 编辑框7 " + Stamp(9), "R 编辑框4",
                         "send " + std::string(c.shown.View()) + " 1"}))
            << c.name;
        EXPECT_EQ(f.window.texts[Control::编辑框8], Text(c.result)) << c.name;
    }
}

TEST(RemoteRedialTest, EachRedialUsesTheSettingsAsTheyAreThen) {
    Fixture f;
    RemoteRedial(f.context, f.clients);
    f.window.texts[Control::编辑框1] = "Other Line";
    f.window.texts[Control::编辑框3] = "";
    f.recorder.steps.clear();
    RemoteRedial(f.context, f.clients);
    EXPECT_EQ(f.recorder.steps[2], "run cmd /c rasdial Other Line /disconnect");
    EXPECT_EQ(f.recorder.steps[9], "run cmd /c rasdial Other Line ADSL0730 ");
    EXPECT_EQ(f.runner.runs, 4);
}

}  // namespace
