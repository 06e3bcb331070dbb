#include "dial/dial_operations.h"

#include <gtest/gtest.h>

#include "dial_fakes.h"

namespace {

using fakes::Fixture;
using fakes::kDial;
using fakes::kHangUp;
using fakes::Stamp;
using Steps = std::vector<std::string>;

TEST(DialCommandLineTest, FieldsGoInUnquotedAndUntrimmed) {
    struct Case {
        Text entry, user, password;
        const char* dial;
        const char* hangUp;
    };
    const Case cases[] = {
        {"AutoADSL", "ADSL0730", "730529", "cmd /c rasdial AutoADSL ADSL0730 730529",
         "cmd /c rasdial AutoADSL /disconnect"},
        {"AutoADSL", "", "", "cmd /c rasdial AutoADSL  ", "cmd /c rasdial AutoADSL /disconnect"},
        {"", "", "", "cmd /c rasdial   ", "cmd /c rasdial  /disconnect"},
        {"My ADSL", " u ", "p&q|r", "cmd /c rasdial My ADSL  u  p&q|r", "cmd /c rasdial My ADSL /disconnect"},
        {Text("\xB2\xA6\xBA\xC5"), "u", "\"p\"", "cmd /c rasdial \xB2\xA6\xBA\xC5 u \"p\"",
         "cmd /c rasdial \xB2\xA6\xBA\xC5 /disconnect"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DialCommandLine(c.entry, c.user, c.password).View(), c.dial);
        EXPECT_EQ(HangUpCommandLine(c.entry).View(), c.hangUp);
    }
    EXPECT_EQ(DialCommandLine("", "", "").Length(), 17u);
    EXPECT_EQ(HangUpCommandLine("").Length(), 27u);
}

TEST(DialOperationsTest, EachOperationWritesInItsOrder) {
    struct Case {
        const char* name;
        void (*operation)(DialContext&);
        std::vector<Text> outputs;
        Steps steps;
        const char* result;
    };
    const std::vector<Case> cases = {
        {"Connect", &Connect, {"Y\r\n"},
         {"S 编辑框6 1", "clock", "S 编辑框5 " + Stamp(8), "R 编辑框1", "R 编辑框2", "R 编辑框3", kDial,
          "S 编辑框8 Y\r\n", "clock", "S 编辑框7 " + Stamp(9)},
         "Y\r\n"},
        {"Disconnect", &Disconnect, {"X"},
         {"S 编辑框6 2", "clock", "S 编辑框5 " + Stamp(8), "R 编辑框1", kHangUp, "S 编辑框8 X", "clock",
          "S 编辑框7 " + Stamp(9)},
         "X"},
        {"Reconnect", &Reconnect, {"X", "Y"},
         {"S 编辑框6 3", "clock", "S 编辑框5 " + Stamp(8), "R 编辑框1", kHangUp, "S 编辑框8 X", "R 编辑框1",
          "R 编辑框2", "R 编辑框3", kDial, "A 编辑框8 Y", "clock", "S 编辑框7 " + Stamp(9)},
         "XY"},
        {"ReconnectWithSilentHangUp", &Reconnect, {"", "Y"},
         {"S 编辑框6 3", "clock", "S 编辑框5 " + Stamp(8), "R 编辑框1", kHangUp, "S 编辑框8 ", "R 编辑框1",
          "R 编辑框2", "R 编辑框3", kDial, "A 编辑框8 Y", "clock", "S 编辑框7 " + Stamp(9)},
         "Y"},
        {"ConnectPrintingNothing", &Connect, {},
         {"S 编辑框6 1", "clock", "S 编辑框5 " + Stamp(8), "R 编辑框1", "R 编辑框2", "R 编辑框3", kDial,
          "S 编辑框8 ", "clock", "S 编辑框7 " + Stamp(9)},
         ""},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.window.texts[layout::Control::编辑框8] = "old result";
        f.runner.outputs = c.outputs;
        c.operation(f.context);
        EXPECT_EQ(f.recorder.steps, c.steps) << c.name;
        EXPECT_EQ(f.window.texts[layout::Control::编辑框8], Text(c.result)) << c.name;
    }
}

}  // namespace
