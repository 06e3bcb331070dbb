// The main window's layout: one table of controls, the Tab cycle, and the
// geometry rules. Portable: the Win32 window builds itself from these values,
// and the native tests check them.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace layout {

enum class ControlKind { Label, EditBox, Button, Server };

// Control identifiers double as the Win32 child-window ids; they stay clear of
// IDOK and IDCANCEL so no dialog-manager command can be mistaken for a control.
enum class Control : int {
    标签1 = 1001, 编辑框1, 服务器1,
    标签2, 编辑框2,
    标签3, 编辑框3,
    标签4, 编辑框4,
    标签5, 编辑框5,
    标签6, 编辑框6,
    标签7, 编辑框7,
    标签8, 编辑框8,
    按钮1, 按钮2, 按钮3,
};

struct ControlSpec {
    Control id;
    ControlKind kind;
    int left;
    int top;
    int width;
    int height;
    const char16_t* text;  // preset caption or text, UTF-16
};

inline constexpr std::u16string_view kCaption = u"拨号服务端";
inline constexpr int kWindowWidth = 325;
inline constexpr int kWindowHeight = 370;

// Top to bottom as on the screen. Places are in client-area pixels.
inline constexpr std::array<ControlSpec, 20> kControls = {{
    {Control::标签1, ControlKind::Label, 20, 20, 80, 24, u"名称"},
    {Control::编辑框1, ControlKind::EditBox, 120, 20, 80, 20, u"AutoADSL"},
    {Control::服务器1, ControlKind::Server, 220, 20, 26, 26, u""},
    {Control::标签2, ControlKind::Label, 20, 54, 80, 24, u"用户"},
    {Control::编辑框2, ControlKind::EditBox, 120, 54, 80, 20, u"ADSL0730"},
    {Control::标签3, ControlKind::Label, 20, 88, 80, 24, u"密码"},
    {Control::编辑框3, ControlKind::EditBox, 120, 88, 80, 20, u"730529"},
    {Control::标签4, ControlKind::Label, 20, 122, 80, 24, u"客户"},
    {Control::编辑框4, ControlKind::EditBox, 120, 122, 180, 20, u""},
    {Control::标签5, ControlKind::Label, 20, 156, 80, 24, u"时间"},
    {Control::编辑框5, ControlKind::EditBox, 120, 152, 180, 20, u""},
    {Control::标签6, ControlKind::Label, 20, 190, 80, 24, u"任务"},
    {Control::编辑框6, ControlKind::EditBox, 120, 190, 80, 20, u""},
    {Control::标签7, ControlKind::Label, 20, 224, 80, 24, u"时间"},
    {Control::编辑框7, ControlKind::EditBox, 120, 224, 180, 20, u""},
    {Control::标签8, ControlKind::Label, 20, 258, 80, 24, u"结果"},
    {Control::编辑框8, ControlKind::EditBox, 120, 258, 180, 20, u""},
    {Control::按钮1, ControlKind::Button, 20, 292, 80, 32, u"连接"},
    {Control::按钮2, ControlKind::Button, 120, 292, 80, 32, u"断开"},
    {Control::按钮3, ControlKind::Button, 220, 292, 80, 32, u"重连"},
}};

// The keyboard cycle. It deliberately does not follow the order on the screen.
inline constexpr std::array<Control, 11> kTabOrder = {
    Control::按钮1, Control::按钮2, Control::编辑框4, Control::编辑框5,
    Control::编辑框1, Control::编辑框2, Control::编辑框3, Control::编辑框6,
    Control::编辑框7, Control::编辑框8, Control::按钮3,
};

const ControlSpec& SpecOf(Control id);
std::optional<Control> ControlFromId(int id);

// The control after (or before) `current` in the Tab cycle, wrapping round.
// From a control outside the cycle, Tab goes to the first and Shift+Tab to the last.
Control NextInTabOrder(std::optional<Control> current, bool backwards);

struct Point {
    int x;
    int y;
};

// Top-left corner that centres the window on a screen of the given full size.
Point CentredOrigin(int screenWidth, int screenHeight);

// A single-line edit box is never lower than one line of its font plus the
// sunken edge above and below it.
int EditBoxHeight(int layoutHeight, int lineHeight, int edgeThickness);

// What the window does with a key pressed in any of its controls.
enum class KeyAction { PassOn, FocusNext, FocusPrevious, Close, Swallow };

inline constexpr unsigned kKeyTab = 0x09;
inline constexpr unsigned kKeyReturn = 0x0D;
inline constexpr unsigned kKeyEscape = 0x1B;

KeyAction ActionForKey(unsigned virtualKey, bool shiftDown);
// Characters the window keeps away from its controls: the keys above are
// handled by the window, so their characters must never reach an edit box.
bool IsSwallowedCharacter(char16_t ch);

}  // namespace layout
