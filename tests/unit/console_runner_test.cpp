#include "runner/console_runner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

WideBuffer Wide(const std::u16string& units, bool terminated = true) {
    std::string bytes;
    for (char16_t u : units) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    }
    if (terminated) bytes.append(2, '\0');
    return WideBuffer(std::move(bytes));
}

std::u16string Units(const WideBuffer& wide) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < wide.Length(); i += 2) {
        units.push_back(static_cast<char16_t>(wide[i] | (wide[i + 1] << 8)));
    }
    return units;
}

TEST(ConsoleRunnerTest, InterpreterCommandLineIsTheSwitchAndTheCommandZeroFilled) {
    struct Case {
        const char* name;
        std::size_t commandUnits;  // before the terminator
        std::size_t expectedBytes;  // 0: refused
    };
    const Case cases[] = {
        {"empty command", 0, 65534},
        {"short", 10, 65534},
        {"fills the room exactly", 32767 - 4 - 1, 65534},
        {"one unit too long", 32767 - 4, 0},
        {"forty thousand", 40000, 0},
    };
    for (const Case& c : cases) {
        const WideBuffer command =
            c.commandUnits == 0 ? WideBuffer() : Wide(std::u16string(c.commandUnits, u'x'));
        const WideBuffer line = InterpreterCommandLine(command);
        EXPECT_EQ(line.Length(), c.expectedBytes) << c.name;
        if (c.expectedBytes == 0) continue;
        const std::u16string units = Units(line);
        EXPECT_EQ(units.substr(0, 4), u" /c ") << c.name;
        EXPECT_EQ(WideLength(line), 4 + c.commandUnits) << c.name;
    }
}

TEST(ConsoleRunnerTest, InterpreterPathByVersionAndNeverBeyondItsBuffer) {
    const WideBuffer folder = PutBytesAt(ZeroBuffer(kPathUnits * 2), 0, CutAtWideNul(Wide(u"C:\\windows\\system32")));
    EXPECT_EQ(Units(CutAtWideNul(InterpreterPath(folder, 0x0501))), u"C:\\windows\\system32\\cmd.exe");
    EXPECT_EQ(Units(CutAtWideNul(InterpreterPath(folder, 0x0A00))), u"C:\\windows\\system32\\cmd.exe");
    EXPECT_EQ(Units(CutAtWideNul(InterpreterPath(folder, 0x0500))), u"C:\\windows\\system32\\command.com");
    EXPECT_EQ(InterpreterPath(folder, 0x0601).Length(), static_cast<std::size_t>(kPathUnits * 2));
    // No folder at all: the file name alone, with its backslash.
    EXPECT_EQ(Units(CutAtWideNul(InterpreterPath(ZeroBuffer(kPathUnits * 2), 0x0601))), u"\\cmd.exe");

    // "\cmd.exe" and its terminator are 9 units: a folder of 251 fits, 252 does not.
    const auto folderOf = [](std::size_t units) {
        return PutBytesAt(ZeroBuffer(kPathUnits * 2), 0, CutAtWideNul(Wide(std::u16string(units, u'a'))));
    };
    EXPECT_EQ(WideLength(InterpreterPath(folderOf(251), 0x0601)), 259u);
    EXPECT_TRUE(InterpreterPath(folderOf(252), 0x0601).Empty());
    EXPECT_TRUE(InterpreterPath(folderOf(260), 0x0601).Empty()) << "a folder with no terminator at all";
}

// The native stand-in runs commands under /bin/sh; the collecting rules are the same.
TEST(ConsoleRunnerTest, NativeRunnerReturnsOutputUpToTheFirstNul) {
    struct Case {
        const char* command;
        const char* output;
    };
    const Case cases[] = {
        {"printf one; printf two >&2; printf three", "onetwothree"},
        {"printf 'AB\\000CD'", "AB"},
        {"true", ""},
        {"printf '\\262\\246\\272\\305'", "\xB2\xA6\xBA\xC5"},
        {"cat; printf done", "done"},  // input is empty at once
    };
    for (const Case& c : cases) EXPECT_EQ(RunConsoleCommand(c.command), Text(c.output)) << c.command;
    EXPECT_EQ(RunConsoleCommand("head -c 3000000 /dev/zero | tr '\\000' z").Length(), 3000000u);
}

}  // namespace
