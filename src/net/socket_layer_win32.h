// Winsock 1.1 behind the listener's socket interface. Readiness of every socket
// is posted by WSAAsyncSelect to one window of the GUI thread.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "net/socket_layer.h"

// The message WSAAsyncSelect posts: wParam is the socket, lParam holds the
// event (WSAGETSELECTEVENT) and its error (WSAGETSELECTERROR).
constexpr UINT kSocketNotification = WM_APP + 1;

class WinsockLayer : public SocketLayer {
public:
    // The window that receives kSocketNotification; set before listening.
    void NotifyTo(HWND window) { window_ = window; }

    bool StartSockets() override;
    void EndSockets() override;
    std::optional<SocketId> Listen(std::uint16_t port) override;
    std::optional<SocketId> Accept(SocketId listener) override;
    bool WatchClient(SocketId client) override;
    std::optional<PeerAddress> PeerOf(SocketId client) override;
    std::optional<std::uint32_t> BytesWaiting(SocketId client) override;
    long Receive(SocketId client, char* buffer, int size) override;
    long Send(SocketId client, const char* bytes, int size) override;
    bool WaitWritable(SocketId client, int seconds) override;
    void Close(SocketId socket) override;

private:
    HWND window_ = nullptr;
};
