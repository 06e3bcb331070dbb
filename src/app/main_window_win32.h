// The program's one window: the controls of the layout table, their colours,
// the keyboard handling of the whole window, and the trigger listener 服务器1.
#pragma once

#include <winsock2.h>  // before windows.h, which would bring the old winsock.h
#include <windows.h>

#include <array>
#include <optional>

#include "app/layout.h"
#include "dial/dial_operations.h"
#include "dial/system_services.h"
#include "net/trigger_server_win32.h"

class MainWindow : public DialWindow {
public:
    MainWindow() = default;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    static bool RegisterWindowClass(HINSTANCE instance);

    // Creates the window with all its controls, centred on the primary screen,
    // and shows it. False when the system refuses to create it.
    bool Create(HINSTANCE instance, int showCommand);

    HWND Handle() const { return hwnd_; }
    HWND ControlWindow(layout::Control id) const;

    // Keyboard handling of the whole window, run on every queued message before
    // it is dispatched. True when the message was handled and must not go on.
    bool PreTranslateMessage(const MSG& msg);

    // The edit boxes' texts as Text, through code page 936 both ways.
    Text ReadText(layout::Control box) override;
    void SetText(layout::Control box, const Text& text) override;
    void AppendText(layout::Control box, const Text& text) override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void PlaceExactly(const layout::Point& origin);
    void MoveFocus(bool backwards);
    void OnActivate(WPARAM wParam);
    void OnSetFocus();
    LRESULT OnControlColour(UINT message, HDC dc);
    void OnCommand(WPARAM wParam);
    void StartServer();

    bool IsOwnWindow(HWND hwnd) const;
    std::optional<layout::Control> ControlOf(HWND hwnd) const;

    HWND hwnd_ = nullptr;
    HWND focusWhenDeactivated_ = nullptr;
    std::array<HWND, layout::kControls.size()> controls_{};
    ConsoleCommandRunner runner_;
    SystemClock clock_;
    DialContext dial_{*this, runner_, clock_};
    TriggerServer server_;  // 服务器1
    ListenerClients clients_{server_.Listener()};
};
