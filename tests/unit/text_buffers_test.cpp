#include "runner/text_buffers.h"

#include <gtest/gtest.h>

#include "app/program_globals.h"

namespace {

ByteBuffer Bytes(std::initializer_list<std::uint8_t> bytes) { return ByteBuffer(bytes); }

struct WidenCase {
    const char* name;
    Text text;
    bool cut;
    ByteBuffer expected;
};

TEST(TextBuffersTest, WidenTextGoesThroughCodePage936) {
    CodePage = kChineseCodePage;
    const std::vector<WidenCase> cases = {
        {"empty, whole", "", false, {}},
        {"empty, cut", "", true, {}},
        {"switch, cut", " /c ", true, {0x20, 0x00, 0x2F, 0x00, 0x63, 0x00, 0x20, 0x00}},
        {"switch, whole", " /c ", false, {0x20, 0x00, 0x2F, 0x00, 0x63, 0x00, 0x20, 0x00, 0x00, 0x00}},
        {"chinese", Text("\xB2\xA6\xBA\xC5"), false, {0xE8, 0x62, 0xF7, 0x53, 0x00, 0x00}},
        {"chinese, cut", Text("\xB2\xA6\xBA\xC5"), true, {0xE8, 0x62, 0xF7, 0x53}},
    };
    for (const WidenCase& c : cases) {
        EXPECT_EQ(WidenText(c.text, c.cut), c.expected) << c.name;
    }
    EXPECT_EQ(WidenText("\\cmd.exe", false).Length(), 18u);
    EXPECT_EQ(WidenText("\\command.com", false).Length(), 26u);
    const WideBuffer cmd = WidenText("\\cmd.exe", false);
    EXPECT_EQ(cmd[16], 0);
    EXPECT_EQ(cmd[17], 0);
}

TEST(TextBuffersTest, WidenAnsiStopsAtTheFirstNulAndNeverFailsOnBadBytes) {
    EXPECT_EQ(WidenAnsi(Bytes({0x41, 0x00, 0x42}), 936), Bytes({0x41, 0x00, 0x00, 0x00}));
    EXPECT_EQ(WidenAnsi(Bytes({0x00, 0x41}), 936), ByteBuffer());
    EXPECT_EQ(WidenAnsi(ByteBuffer(), 936), ByteBuffer());
    // A lead byte with nothing behind it still converts to something, terminated.
    const WideBuffer lone = WidenAnsi(Bytes({0x41, 0xB2}), 936);
    ASSERT_GE(lone.Length(), 6u);
    EXPECT_EQ(lone[0], 0x41);
    EXPECT_EQ(WideLength(lone), lone.Length() / 2 - 1);
}

TEST(TextBuffersTest, CutAtWideNulAndWideLength) {
    struct Case {
        ByteBuffer input, cut;
        std::size_t length;
    };
    const std::vector<Case> cases = {
        {{0x41, 0x00, 0x42, 0x00, 0x43}, {0x41, 0x00, 0x42, 0x00}, 2},
        {{0x41, 0x00, 0x00, 0x00, 0x42, 0x00}, {0x41, 0x00}, 1},
        {{0x00, 0x00, 0x41, 0x00}, {}, 0},
        {{0x41}, {}, 0},
        {{}, {}, 0},
        {{0x00, 0x41, 0x41, 0x00}, {0x00, 0x41, 0x41, 0x00}, 2},  // a unit is NUL only when both bytes are
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CutAtWideNul(c.input), c.cut);
        EXPECT_EQ(WideLength(c.input), c.length);
    }
}

TEST(TextBuffersTest, TextFromBufferEndsAtTheFirstNul) {
    EXPECT_EQ(TextFromBuffer(Bytes({0x41, 0x42, 0x00, 0x43})), Text("AB"));
    EXPECT_EQ(TextFromBuffer(Bytes({0x00, 0x41})), Text(""));
    EXPECT_EQ(TextFromBuffer(ByteBuffer()), Text(""));
    EXPECT_EQ(TextFromBuffer(Bytes({0xB2, 0xA6})).View(), "\xB2\xA6");
    // A Text never holds a NUL, however it is made.
    EXPECT_EQ(Text(std::string("A\0B", 3)).Length(), 1u);
    EXPECT_EQ(Text(std::string_view("A\0B", 3)).Length(), 1u);
    EXPECT_EQ(BytesOfText(Text("AB")), Bytes({0x41, 0x42}));
    EXPECT_EQ(BytesOfText(Text()), ByteBuffer());
}

TEST(TextBuffersTest, ZeroJoinAndPutReturnNewValues) {
    EXPECT_EQ(ZeroBuffer(0), ByteBuffer());
    EXPECT_EQ(ZeroBuffer(-3), ByteBuffer());
    EXPECT_EQ(ZeroBuffer(3), Bytes({0, 0, 0}));
    EXPECT_EQ(JoinBuffers(ByteBuffer(), ByteBuffer()), ByteBuffer());
    const ByteBuffer a = Bytes({0x41});
    const ByteBuffer b = Bytes({0x42});
    EXPECT_EQ(JoinBuffers(a, ByteBuffer(), b), Bytes({0x41, 0x42}));
    EXPECT_EQ(a, Bytes({0x41}));

    const ByteBuffer target = ZeroBuffer(4);
    EXPECT_EQ(PutBytesAt(target, 1, Bytes({7, 8})), Bytes({0, 7, 8, 0}));
    EXPECT_EQ(PutBytesAt(target, 3, Bytes({7, 8})), Bytes({0, 0, 0, 7})) << "never beyond the target";
    EXPECT_EQ(PutBytesAt(target, 9, Bytes({7})), target);
    EXPECT_EQ(target, ZeroBuffer(4));
    EXPECT_EQ(Bytes({1}).Data() != nullptr, true);
    EXPECT_EQ(ByteBuffer().Data(), nullptr);
}

TEST(TextBuffersTest, JoinTextTakesPiecesInOrder) {
    EXPECT_EQ(JoinText(Text("ab"), Text(), Text("cd")), Text("abcd"));
    EXPECT_EQ(JoinText(Text(), Text()), Text());
    EXPECT_EQ(JoinText(Text(nullptr), Text("x")), Text("x"));
    EXPECT_EQ(JoinText(Text("\xB2\xA6"), Text(" ")).View(), "\xB2\xA6 ");
}

TEST(TextBuffersTest, WideAndTextRoundTripThroughCodePage936) {
    CodePage = kChineseCodePage;
    EXPECT_EQ(TextFromWide(u"拨号 AutoADSL\r\n").View(), "\xB2\xA6\xBA\xC5 AutoADSL\r\n");
    EXPECT_EQ(WideOfText(Text("\xB2\xA6\xBA\xC5 x")), u"拨号 x");
    EXPECT_EQ(TextFromWide(u""), Text());
    EXPECT_EQ(WideOfText(Text()), u"");
    // A character outside the code page cannot reach a command line as itself.
    EXPECT_EQ(TextFromWide(u"a\U0001F600b").View().substr(0, 1), "a");
    EXPECT_EQ(TextFromWide(u"a\U0001F600b").View().back(), 'b');
}

}  // namespace
