#include "app/program_globals.h"
#include "app/startup.h"

#include <gtest/gtest.h>

namespace {

TEST(StartupTest, OsVersionWordCutsEachNumberToEightBits) {
    struct Case {
        std::uint32_t major, minor, word;
    };
    for (const Case& c : {Case{5, 0, 0x0500}, Case{5, 1, 0x0501}, Case{6, 1, 0x0601}, Case{10, 0, 0x0A00},
                          Case{0x1FF, 0x102, 0xFF02}, Case{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFF}}) {
        EXPECT_EQ(CombineOsVersion(c.major, c.minor), c.word) << c.major << "." << c.minor;
    }
}

TEST(StartupTest, GlobalsAreSetOnce) {
    InitProgramGlobals();
    EXPECT_EQ(CodePage, 936u);
    EXPECT_EQ(OsVersionWord, GetOsVersionWord());
    EXPECT_EQ(OsVersionWord >> 16, 0u);
}

TEST(StartupTest, ProgramFolderIsThePathCutAtItsLastBackslash) {
    struct Case {
        std::u16string path, folder;
    };
    for (const Case& c : {Case{u"C:\\Tools\\DialServer.exe", u"C:\\Tools"},
                          Case{u"D:\\拨号\\工具\\DialServer.exe", u"D:\\拨号\\工具"},
                          Case{u"C:\\DialServer.exe", u"C:\\"},
                          Case{u"\\\\server\\share\\DialServer.exe", u"\\\\server\\share"},
                          Case{u"DialServer.exe", u""}}) {
        EXPECT_EQ(ProgramFolder(c.path), c.folder);
    }
}

TEST(StartupTest, FatalErrorTextHasTheCodeAndMessageLines) {
    EXPECT_EQ(FatalErrorText(std::nullopt, u""), u"运行时出错!\r\n");
    EXPECT_EQ(FatalErrorText(1407u, kWindowCreationFailed),
              u"运行时出错!\r\n\r\n错误代码：1407\r\n错误信息：载入启动窗口失败");
    EXPECT_EQ(FatalErrorText(std::nullopt, kWindowCreationFailed), u"运行时出错!\r\n\r\n错误信息：载入启动窗口失败");
    EXPECT_EQ(FatalErrorText(0u, u""), u"运行时出错!\r\n\r\n错误代码：0");
}

}  // namespace
