#include "app/main_window_win32.h"

#include "app/resource_ids.h"
#include "app/win32_text.h"

namespace {

using layout::Control;
using layout::ControlKind;
using layout::ControlSpec;

constexpr wchar_t kWindowClass[] = L"DialServerMainWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassOf(ControlKind kind) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    switch (kind) {
        case ControlKind::Label:
            return {L"STATIC", child | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0};
        case ControlKind::EditBox:
            // No ES_NOHIDESEL: the selection shows only while the box has the focus.
            return {L"EDIT", child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::Button:
            return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE, 0};
        case ControlKind::Server:
            break;
    }
    return {nullptr, 0, 0};
}

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// Height of a Chinese ideograph in the font: the line height of an edit box
// that shows Chinese text.
int IdeographLineHeight(HWND hwnd, HFONT font) {
    HDC dc = GetDC(hwnd);
    if (dc == nullptr) return 0;
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, L"国", 1, &size);
    SelectObject(dc, previous);
    ReleaseDC(hwnd, dc);
    return size.cy;
}

}  // namespace

bool MainWindow::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MainWindow::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc) != 0;
}

bool MainWindow::Create(HINSTANCE instance, int showCommand) {
    const layout::Point origin =
        layout::CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const std::wstring caption = WideFromUtf16(layout::kCaption);
    CreateWindowExW(0, kWindowClass, caption.c_str(), kWindowStyle, origin.x, origin.y, layout::kWindowWidth,
                    layout::kWindowHeight, nullptr, nullptr, instance, this);
    if (hwnd_ == nullptr) return false;
    PlaceExactly(origin);
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    return true;
}

// The system may have made the window another size (a frame wider than it
// thought): then it is moved and sized once more, to exactly the layout's size.
void MainWindow::PlaceExactly(const layout::Point& origin) {
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    if (rect.left != origin.x || rect.top != origin.y || rect.right - rect.left != layout::kWindowWidth ||
        rect.bottom - rect.top != layout::kWindowHeight) {
        SetWindowPos(hwnd_, nullptr, origin.x, origin.y, layout::kWindowWidth, layout::kWindowHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MainWindow::CreateControls() {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    const HFONT font = GuiFont();
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const int minimumEditHeight = layout::EditBoxHeight(0, IdeographLineHeight(hwnd_, font),
                                                        GetSystemMetrics(SM_CYEDGE));
    for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
        const ControlSpec& spec = layout::kControls[i];
        if (spec.kind == ControlKind::Server) {
            server_.Create(hwnd_, static_cast<int>(spec.id));
            continue;
        }
        const ControlClass cls = ClassOf(spec.kind);
        const int height =
            spec.kind == ControlKind::EditBox ? layout::EditBoxHeight(spec.height, minimumEditHeight, 0) : spec.height;
        const std::wstring text = WideFromUtf16(spec.text);
        HWND control = CreateWindowExW(cls.exStyle, cls.className, text.c_str(), cls.style, spec.left, spec.top,
                                       spec.width, height, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
        if (control == nullptr) continue;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (spec.kind == ControlKind::EditBox) {
            SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // 0: the largest a single-line box allows
            SendMessageW(control, EM_SETSEL, 0, 0);
        }
        controls_[i] = control;
    }
}

HWND MainWindow::ControlWindow(Control id) const {
    for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
        if (layout::kControls[i].id == id) return controls_[i];
    }
    return nullptr;
}

std::optional<Control> MainWindow::ControlOf(HWND hwnd) const {
    for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
        if (hwnd != nullptr && controls_[i] == hwnd) return layout::kControls[i].id;
    }
    return std::nullopt;
}

bool MainWindow::IsOwnWindow(HWND hwnd) const {
    return hwnd_ != nullptr && (hwnd == hwnd_ || IsChild(hwnd_, hwnd));
}

void MainWindow::MoveFocus(bool backwards) {
    const Control next = layout::NextInTabOrder(ControlOf(GetFocus()), backwards);
    HWND target = ControlWindow(next);
    if (target == nullptr) return;
    // Show focus cues from now on, as the dialog manager does after a keyboard move.
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SetFocus(target);
    if (layout::SpecOf(next).kind == ControlKind::EditBox) SendMessageW(target, EM_SETSEL, 0, -1);
}

bool MainWindow::PreTranslateMessage(const MSG& msg) {
    if (!IsOwnWindow(msg.hwnd)) return false;
    if (msg.message == WM_KEYDOWN) {
        const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        switch (layout::ActionForKey(static_cast<unsigned>(msg.wParam), shift)) {
            case layout::KeyAction::FocusNext: MoveFocus(false); return true;
            case layout::KeyAction::FocusPrevious: MoveFocus(true); return true;
            case layout::KeyAction::Close: SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0); return true;
            case layout::KeyAction::Swallow: return true;
            case layout::KeyAction::PassOn: return false;
        }
    }
    if (msg.message == WM_CHAR) return layout::IsSwallowedCharacter(static_cast<char16_t>(msg.wParam));
    return false;
}

void MainWindow::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (ControlOf(focus)) focusWhenDeactivated_ = focus;
    }
}

void MainWindow::OnSetFocus() {
    HWND target = focusWhenDeactivated_;
    if (target == nullptr || !IsWindow(target)) target = ControlWindow(layout::kTabOrder.front());
    if (target != nullptr) SetFocus(target);
}

Text MainWindow::ReadText(Control box) {
    HWND edit = ControlWindow(box);
    const int length = GetWindowTextLengthW(edit);
    if (length <= 0) return Text();
    std::u16string units(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(edit, reinterpret_cast<wchar_t*>(units.data()), length + 1);
    units.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return TextFromWide(units);
}

void MainWindow::SetText(Control box, const Text& text) {
    const std::wstring wide = WideFromUtf16(WideOfText(text));
    SetWindowTextW(ControlWindow(box), wide.c_str());
}

void MainWindow::AppendText(Control box, const Text& text) {
    HWND edit = ControlWindow(box);
    const int end = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, end, end);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    const std::wstring wide = WideFromUtf16(WideOfText(text));
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));  // FALSE: no undo record
}

// The operations block this thread while their commands run; whatever the
// operator does meanwhile waits in the queue and is handled afterwards, in order.
void MainWindow::OnCommand(WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED) return;
    const std::optional<Control> button = layout::ControlFromId(LOWORD(wParam));
    if (!button) return;
    switch (*button) {
        case Control::按钮1: Connect(dial_); break;
        case Control::按钮2: Disconnect(dial_); break;
        case Control::按钮3: Reconnect(dial_); break;
        default: break;
    }
}

// Socket readiness waits in the queue like a click, so a redial never starts
// while another operation runs, and no event is raised inside another.
void MainWindow::StartServer() {
    TriggerListener& listener = server_.Listener();
    listener.Bind(TriggerListener::DataArrived, [this] { RemoteRedial(dial_, clients_); });
    listener.Bind(TriggerListener::ClientArrived, [this] { OnClientArrived(dial_, clients_); });
    server_.StartListening();
}

LRESULT MainWindow::OnControlColour(UINT message, HDC dc) {
    SetTextColor(dc, kBlack);
    if (message == WM_CTLCOLOREDIT) {
        SetBkColor(dc, kWhite);
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            StartServer();
            return 0;
        case WM_ACTIVATE:
            OnActivate(wParam);
            break;  // the default activation gives the window the focus, which OnSetFocus passes on
        case WM_SETFOCUS:
            OnSetFocus();
            return 0;
        case WM_COMMAND:
            OnCommand(wParam);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return OnControlColour(message, reinterpret_cast<HDC>(wParam));
        case WM_DESTROY:
            server_.Shutdown();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}
