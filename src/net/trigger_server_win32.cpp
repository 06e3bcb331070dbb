#include "net/trigger_server_win32.h"

namespace {

constexpr wchar_t kNotifyClass[] = L"DialServerSocketNotify";

bool RegisterNotifyClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, kNotifyClass, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.lpszClassName = kNotifyClass;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

bool TriggerServer::Create(HWND parent, int controlId) {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    if (!RegisterNotifyClass(instance, &TriggerServer::WindowProc)) return false;
    // A child without WS_VISIBLE and without WS_TABSTOP: never seen, never focused.
    hwnd_ = CreateWindowExW(0, kNotifyClass, L"", WS_CHILD | WS_DISABLED, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, this);
    sockets_.NotifyTo(hwnd_);
    return hwnd_ != nullptr;
}

void TriggerServer::StartListening() {
    if (hwnd_ != nullptr) listener_.StartListening();
}

void TriggerServer::OnSocketNotification(WPARAM wParam, LPARAM lParam) {
    const auto socket = static_cast<SocketId>(wParam);
    // A reset arrives as FD_CLOSE with an error, and is handled as a close.
    switch (WSAGETSELECTEVENT(lParam)) {
        case FD_ACCEPT: listener_.OnAcceptReady(); break;
        case FD_READ: listener_.OnReadReady(socket); break;
        case FD_CLOSE: listener_.OnCloseReady(socket); break;
        default: break;
    }
}

LRESULT CALLBACK TriggerServer::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TriggerServer*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TriggerServer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr && message == kSocketNotification) {
        self->OnSocketNotification(wParam, lParam);
        return 0;
    }
    if (message == WM_NCDESTROY && self != nullptr) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
