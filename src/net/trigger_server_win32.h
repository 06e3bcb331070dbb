// 服务器1 as a part of the main window: a hidden child window to which Winsock
// posts the readiness of every socket, and the listener that turns it into
// events. Everything runs on the GUI thread, one message at a time.
#pragma once

#include <windows.h>

#include "net/socket_layer_win32.h"
#include "net/trigger_listener.h"

class TriggerServer {
public:
    TriggerServer() = default;
    TriggerServer(const TriggerServer&) = delete;
    TriggerServer& operator=(const TriggerServer&) = delete;

    // Makes the hidden notification window under `parent`; false if the
    // system refuses, and then the listener stays deaf.
    bool Create(HWND parent, int controlId);
    TriggerListener& Listener() { return listener_; }
    // Listens, when the notification window exists; silent on any failure.
    void StartListening();
    // Closes every socket and ends the socket system; no events.
    void Shutdown() { listener_.Shutdown(); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnSocketNotification(WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    WinsockLayer sockets_;
    TriggerListener listener_{sockets_};
};
