// The main window as its user meets it: the real DialServer.exe under Wine,
// checked from outside through its window.
#include <gtest/gtest.h>

#include <cwctype>
#include <map>

#include "driver.h"
#include "expected_layout.h"

namespace {

using namespace driver;


// One line of the default GUI font (as tall as a Chinese ideograph) plus the
// sunken edge above and below: the lowest an edit box may be.
int MinimumEditHeight() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, L"国", 1, &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size.cy + 2 * GetSystemMetrics(SM_CYEDGE);
}

int ExpectedHeight(const ExpectedControl& c) {
    return SameClass(c.className, L"Edit") ? std::max(c.height, MinimumEditHeight()) : c.height;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Started from another folder than its own: the window must not care.
        program_ = std::make_unique<Program>(TempFolder());
        ASSERT_TRUE(program_->Started()) << "CreateProcess failed with " << program_->StartError();
        window_ = program_->MainWindow();
        ASSERT_NE(window_, nullptr) << "no window captioned 拨号服务端 appeared";
        controls_ = MapControls(window_);
    }

    void TearDown() override {
        if (window_ != nullptr && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (program_) program_->WaitForExit();
    }

    HWND Control(const std::string& name) { return controls_.count(name) ? controls_[name] : nullptr; }

    std::string NameOf(HWND hwnd) {
        for (const auto& [name, control] : controls_) {
            if (control == hwnd) return name;
        }
        return hwnd == nullptr ? "(nothing)" : "(another window)";
    }

    std::string FocusName() { return NameOf(FocusedWindow(window_)); }

    // Presses a key and waits until the focus has left `from`.
    std::string PressAndFollowFocus(WORD key, bool shift) {
        const HWND from = FocusedWindow(window_);
        PressKey(key, shift);
        WaitUntil([&] { return FocusedWindow(window_) != from; });
        return FocusName();
    }

    std::map<std::string, std::string> AllTexts() {
        std::map<std::string, std::string> texts;
        for (const auto& [name, control] : controls_) texts[name] = Cp936(WindowText(control));
        return texts;
    }

    std::unique_ptr<Program> program_;
    HWND window_ = nullptr;
    std::map<std::string, HWND> controls_;
};

TEST_F(MainWindowTest, FrameCaptionAndPlaceOnTheScreen) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    EXPECT_EQ(Cp936(WindowText(window_)), "\xB2\xA6\xBA\xC5\xB7\xFE\xCE\xF1\xB6\xCB");

    const RECT outer = OuterRect(window_);
    EXPECT_EQ(outer.left, 349);
    EXPECT_EQ(outer.top, 199);
    EXPECT_EQ(outer.right - outer.left, 325);
    EXPECT_EQ(outer.bottom - outer.top, 370);

    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(window_, GW_OWNER), nullptr);
    EXPECT_EQ(GetMenu(window_), nullptr);
}

// The program file carries its icon (large and small), the manifest that asks
// for the themed common controls, and its version information.
TEST(ProgramFileTest, CarriesIconManifestAndVersion) {
    const std::wstring path = OwnFolder() + L"\\DialServer.exe";
    HMODULE file = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(file, nullptr);
    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(LoadImageW(file, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    HRSRC manifest = FindResourceW(file, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    const char* xml = static_cast<const char*>(LockResource(LoadResource(file, manifest)));
    const std::string text(xml, SizeofResource(file, manifest));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
    FreeLibrary(file);

    DWORD ignored = 0;
    std::vector<BYTE> version(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
    wchar_t* product = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\StringFileInfo\\080404b0\\ProductName",
                               reinterpret_cast<void**>(&product), &length));
    EXPECT_EQ(std::wstring(product), L"DialServer");
}

TEST_F(MainWindowTest, EveryControlStandsAtItsPlaceWithItsPresetText) {
    EXPECT_EQ(controls_.size(), std::size(kExpected));
    std::size_t hidden = 0;
    for (HWND child : ChildWindows(window_)) hidden += IsWindowVisible(child) ? 0 : 1;
    EXPECT_EQ(hidden, 1u) << "服务器1 has a window of its own, never shown";
    EXPECT_EQ(ChildWindows(window_).size() - hidden, std::size(kExpected)) << "a control too many or too few";
    for (const ExpectedControl& c : kExpected) {
        SCOPED_TRACE(c.name);
        HWND control = Control(c.name);
        ASSERT_NE(control, nullptr) << "no " << c.name << " at " << c.left << "," << c.top;
        const RECT r = RectInParentClient(control);
        EXPECT_EQ(r.right - r.left, c.width);
        EXPECT_EQ(r.bottom - r.top, ExpectedHeight(c));
        EXPECT_TRUE(IsWindowVisible(control));
        if (c.cp936Text != nullptr) {
            EXPECT_EQ(Cp936(WindowText(control)), c.cp936Text);
        }
    }
    // The account user name: four capital letters, then four digits.
    const std::wstring user = WindowText(Control("编辑框2"));
    ASSERT_EQ(user.size(), 8u) << Cp936(user);
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(i < 4 ? (user[i] >= L'A' && user[i] <= L'Z') : (user[i] >= L'0' && user[i] <= L'9')) << i;
    }
}

TEST_F(MainWindowTest, ControlsHaveTheirStylesAndColours) {
    for (const ExpectedControl& c : kExpected) {
        SCOPED_TRACE(c.name);
        HWND control = Control(c.name);
        ASSERT_NE(control, nullptr);
        const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
        const LONG_PTR exStyle = GetWindowLongPtrW(control, GWL_EXSTYLE);
        if (SameClass(c.className, L"Edit")) {
            EXPECT_TRUE(exStyle & WS_EX_CLIENTEDGE);
            EXPECT_TRUE(style & ES_AUTOHSCROLL);
            EXPECT_TRUE(style & WS_TABSTOP);
            const LONG_PTR unwantedStyles[] = {ES_MULTILINE, ES_PASSWORD, ES_READONLY, ES_NOHIDESEL,
                                               ES_NUMBER,    ES_UPPERCASE, ES_LOWERCASE, ES_CENTER,
                                               ES_RIGHT,     WS_HSCROLL,   WS_VSCROLL};
            for (LONG_PTR unwanted : unwantedStyles) {
                EXPECT_FALSE(style & unwanted) << std::hex << unwanted;
            }
            EXPECT_EQ(SendMessageW(control, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
        } else if (SameClass(c.className, L"Static")) {
            EXPECT_EQ(style & SS_TYPEMASK, SS_CENTER);
            EXPECT_TRUE(style & SS_CENTERIMAGE);  // one line, centred vertically too
            EXPECT_FALSE(style & WS_BORDER);
            EXPECT_FALSE(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
        } else {
            EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);  // not a default button
            EXPECT_TRUE(style & WS_TABSTOP);
        }
    }

    // Labels are filled with the button face, edit boxes are white.
    ASSERT_TRUE(BringToFront(window_));
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC screen = GetDC(nullptr);
    const auto pixelAt = [&](const char* name, int x, int y) {
        POINT p{x, y};
        ClientToScreen(Control(name), &p);
        return GetPixel(screen, p.x, p.y);
    };
    const bool drawn = WaitUntil([&] { return pixelAt("编辑框4", 170, 8) == RGB(255, 255, 255); });
    EXPECT_TRUE(drawn);
    EXPECT_EQ(pixelAt("标签1", 2, 2), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(pixelAt("标签8", 77, 21), GetSysColor(COLOR_BTNFACE));
    POINT corner{4, 4};
    ClientToScreen(window_, &corner);
    EXPECT_EQ(GetPixel(screen, corner.x, corner.y), GetSysColor(COLOR_BTNFACE)) << "window background";
    ReleaseDC(nullptr, screen);
}

// Each label on the screen is, pixel for pixel, its caption in the default GUI
// font, black on the button face, centred on one line of its 80 x 24 box.
TEST_F(MainWindowTest, LabelsShowTheirCaptionsInTheDefaultGuiFont) {
    ASSERT_TRUE(BringToFront(window_));
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (const ExpectedControl& c : kExpected) {
        if (!SameClass(c.className, L"Static")) continue;
        SCOPED_TRACE(c.name);
        const std::wstring caption = WindowText(Control(c.name));
        const Pixels expected = RenderCentredText(caption, c.width, c.height, GetStockObject(DEFAULT_GUI_FONT));
        Pixels shown;
        WaitUntil([&] {
            shown = CaptureClient(Control(c.name), c.width, c.height);
            return shown == expected;
        });
        EXPECT_EQ(DifferingPixels(shown, expected), 0u);
        EXPECT_GT(InkPixels(expected), 20u) << "the caption draws no glyphs";
    }
}

TEST_F(MainWindowTest, TabAndShiftTabFollowTheCycleBothWays) {
    ASSERT_TRUE(BringToFront(window_));
    ASSERT_TRUE(WaitUntil([&] { return FocusName() == "按钮1"; })) << FocusName();

    std::vector<std::string> forward;
    for (std::size_t i = 0; i < std::size(kTabCycle); ++i) forward.push_back(PressAndFollowFocus(VK_TAB, false));
    std::vector<std::string> expectedForward(std::begin(kTabCycle) + 1, std::end(kTabCycle));
    expectedForward.push_back("按钮1");
    EXPECT_EQ(forward, expectedForward);

    std::vector<std::string> backward;
    for (std::size_t i = 0; i < std::size(kTabCycle); ++i) backward.push_back(PressAndFollowFocus(VK_TAB, true));
    std::vector<std::string> expectedBackward(std::rbegin(kTabCycle), std::rend(kTabCycle));
    EXPECT_EQ(backward, expectedBackward);
}

TEST_F(MainWindowTest, EnterAndTabChangeNoTextAnywhere) {
    ASSERT_TRUE(BringToFront(window_));
    ASSERT_TRUE(WaitUntil([&] { return FocusName() == "按钮1"; }));
    const auto before = AllTexts();
    for (std::size_t i = 0; i < std::size(kTabCycle); ++i) {
        PressKey(VK_RETURN);
        PressAndFollowFocus(VK_TAB, false);  // input is handled in order: Enter went first
    }
    EXPECT_EQ(FocusName(), "按钮1");
    EXPECT_EQ(AllTexts(), before);
    EXPECT_EQ(program_->WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(MainWindowTest, FocusComesBackWhenTheWindowIsActivatedAgain) {
    ASSERT_TRUE(BringToFront(window_));
    ASSERT_TRUE(WaitUntil([&] { return FocusName() == "按钮1"; }));
    for (int i = 0; i < 4; ++i) PressAndFollowFocus(VK_TAB, false);
    ASSERT_EQ(FocusName(), "编辑框1");

    // Another program's window takes the foreground, then the operator comes back.
    HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(BringToFront(other));
    EXPECT_TRUE(WaitUntil([&] { return ActiveWindow(window_) != window_; }));
    ASSERT_TRUE(BringToFront(window_));
    EXPECT_TRUE(WaitUntil([&] { return FocusName() == "编辑框1"; })) << FocusName();
    DestroyWindow(other);
}

struct CloseCase {
    const char* name;
    const char* focusOn;  // control to tab to first
    enum { Escape, AltF4, SystemMenuClose } how;
};

class CloseTest : public MainWindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseTest, EndsTheProcessWithExitCodeZero) {
    const CloseCase& c = GetParam();
    ASSERT_TRUE(BringToFront(window_));
    ASSERT_TRUE(WaitUntil([&] { return FocusName() == "按钮1"; }));
    for (int i = 0; i < 11 && FocusName() != c.focusOn; ++i) PressAndFollowFocus(VK_TAB, false);
    ASSERT_EQ(FocusName(), c.focusOn);
    switch (c.how) {
        case CloseCase::Escape: PressKey(VK_ESCAPE); break;
        case CloseCase::AltF4: PressKey(VK_F4, false, true); break;
        case CloseCase::SystemMenuClose: PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
    EXPECT_EQ(program_->WaitForExit(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Ways, CloseTest,
                         ::testing::Values(CloseCase{"EscInEditBox", "编辑框1", CloseCase::Escape},
                                           CloseCase{"EscOnButton", "按钮2", CloseCase::Escape},
                                           CloseCase{"AltF4", "编辑框8", CloseCase::AltF4},
                                           CloseCase{"CloseCommand", "按钮1", CloseCase::SystemMenuClose}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
