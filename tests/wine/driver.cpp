#include "driver.h"

#include <psapi.h>

namespace driver {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
}

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring full(path, length);
    return full.substr(0, full.rfind(L'\\'));
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(static_cast<DWORD>(std::size(path)), path);
    std::wstring folder(path, length);
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

Program::Program(const std::wstring& workingDirectory) {
    std::wstring commandLine = L"\"" + OwnFolder() + L"\\DialServer.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workingDirectory.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
    } else {
        startError_ = GetLastError();
    }
}

Program::~Program() {
    if (process_ == nullptr) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, kStepTimeoutMs);
    }
    CloseHandle(process_);
}

HWND Program::MainWindow(DWORD timeoutMs) {
    if (window_ != nullptr || process_ == nullptr) return window_;
    WaitUntil([&] {
        window_ = FindTopLevelWindow(processId_, L"拨号服务端");
        return window_ != nullptr && IsWindowVisible(window_);
    }, timeoutMs);
    if (window_ != nullptr) WaitForInputIdle(process_, timeoutMs);
    return window_;
}

DWORD Program::WaitForExit(DWORD timeoutMs) {
    if (process_ == nullptr) return STILL_ACTIVE;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::size_t Program::WorkingSet() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return process_ && GetProcessMemoryInfo(process_, &counters, sizeof counters) ? counters.WorkingSetSize : 0;
}

std::size_t Program::PrivateBytes() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return process_ && GetProcessMemoryInfo(process_, &counters, sizeof counters) ? counters.PagefileUsage : 0;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK MatchTopLevelWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search->processId || WindowText(hwnd) != *search->caption) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND FindTopLevelWindow(DWORD processId, const std::wstring& caption) {
    WindowSearch search{processId, &caption, nullptr};
    EnumWindows(&MatchTopLevelWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kStepTimeoutMs, &length)) return L"?";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        kStepTimeoutMs, &copied);
    text.resize(copied);
    return text;
}

bool SetWindowTextRemote(HWND hwnd, const std::wstring& text) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               kStepTimeoutMs, &result) != 0 &&
           result != 0;
}


std::wstring ClassName(HWND hwnd) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

RECT RectInParentClient(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT OuterRect(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

namespace {

GUITHREADINFO ThreadInfo(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

HWND FocusedWindow(HWND window) { return ThreadInfo(window).hwndFocus; }
HWND ActiveWindow(HWND window) { return ThreadInfo(window).hwndActive; }

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; });
}

void ClickWithMouse(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    // Every event carries its own absolute place: a press without one lands
    // wherever the system last saw the pointer, which need not be here yet.
    const LONG x = MulDiv(middle.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    const LONG y = MulDiv(middle.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    INPUT inputs[3]{};
    const DWORD flags[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = x;
        inputs[i].mi.dy = y;
        inputs[i].mi.dwFlags = flags[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    SendInput(3, inputs, sizeof(INPUT));
}

void PressKey(WORD virtualKey, bool shift, bool alt) {
    std::vector<INPUT> inputs;
    if (shift) inputs.push_back(KeyInput(VK_SHIFT, false));
    if (alt) inputs.push_back(KeyInput(VK_MENU, false));
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    if (alt) inputs.push_back(KeyInput(VK_MENU, true));
    if (shift) inputs.push_back(KeyInput(VK_SHIFT, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace {

// A 32-bit top-down bitmap selected into a memory DC.
struct Canvas {
    Canvas(int width, int height) : width(width), height(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Pixels Read() const {
        GdiFlush();
        const auto* p = static_cast<const DWORD*>(bits);
        Pixels pixels(p, p + static_cast<std::size_t>(width) * height);
        for (COLORREF& px : pixels) px &= 0xFFFFFF;
        return pixels;
    }

    int width;
    int height;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    void* bits = nullptr;
};

}  // namespace

Pixels CaptureClient(HWND window, int width, int height) {
    Canvas canvas(width, height);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return canvas.Read();
}

Pixels RenderCentredText(const std::wstring& text, int width, int height, HGDIOBJ font) {
    Canvas canvas(width, height);
    RECT box{0, 0, width, height};
    FillRect(canvas.dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    SelectObject(canvas.dc, font);
    SetTextColor(canvas.dc, RGB(0, 0, 0));
    SetBkColor(canvas.dc, GetSysColor(COLOR_BTNFACE));
    DrawTextW(canvas.dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return canvas.Read();
}

std::size_t DifferingPixels(const Pixels& a, const Pixels& b) {
    if (a.size() != b.size()) return std::max(a.size(), b.size());
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
    return count;
}

std::size_t InkPixels(const Pixels& pixels) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF faceAsDib = RGB(GetBValue(face), GetGValue(face), GetRValue(face));
    std::size_t count = 0;
    for (COLORREF px : pixels) count += px != faceAsDib;
    return count;
}

}  // namespace driver
