#include "net/socket_layer_win32.h"

#include "net/unique_socket_win32.h"

namespace {

SOCKET Native(SocketId socket) { return static_cast<SOCKET>(socket); }

// Sockets are inheritable handles by default, and every command the program
// runs inherits handles: a dialler left running would then keep port 19730,
// or a client's connection, open after the program has closed it.
bool KeepFromChildren(SOCKET socket) {
    return SetHandleInformation(reinterpret_cast<HANDLE>(socket), HANDLE_FLAG_INHERIT, 0) != 0;
}

}  // namespace

bool WinsockLayer::StartSockets() {
    WSADATA data{};
    return WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

void WinsockLayer::EndSockets() { WSACleanup(); }

std::optional<SocketId> WinsockLayer::Listen(std::uint16_t port) {
    UniqueSocket listener(socket(AF_INET, SOCK_STREAM, 0));
    if (!listener.Valid() || !KeepFromChildren(listener.Get())) return std::nullopt;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    if (bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return std::nullopt;
    if (listen(listener.Get(), SOMAXCONN) != 0) return std::nullopt;
    if (WSAAsyncSelect(listener.Get(), window_, kSocketNotification, FD_ACCEPT) != 0) return std::nullopt;
    return static_cast<SocketId>(listener.Release());
}

std::optional<SocketId> WinsockLayer::Accept(SocketId listener) {
    UniqueSocket client(accept(Native(listener), nullptr, nullptr));
    if (!client.Valid() || !KeepFromChildren(client.Get())) return std::nullopt;
    return static_cast<SocketId>(client.Release());
}

bool WinsockLayer::WatchClient(SocketId client) {
    return WSAAsyncSelect(Native(client), window_, kSocketNotification, FD_READ | FD_CLOSE) == 0;
}

std::optional<PeerAddress> WinsockLayer::PeerOf(SocketId client) {
    sockaddr_in peer{};
    int length = sizeof peer;
    if (getpeername(Native(client), reinterpret_cast<sockaddr*>(&peer), &length) != 0) return std::nullopt;
    const char* dotted = inet_ntoa(peer.sin_addr);
    if (dotted == nullptr) return std::nullopt;
    return PeerAddress{dotted, ntohs(peer.sin_port)};
}

std::optional<std::uint32_t> WinsockLayer::BytesWaiting(SocketId client) {
    u_long count = 0;
    if (ioctlsocket(Native(client), FIONREAD, &count) != 0) return std::nullopt;
    return static_cast<std::uint32_t>(count);
}

long WinsockLayer::Receive(SocketId client, char* buffer, int size) {
    const int n = recv(Native(client), buffer, size, 0);
    return n == SOCKET_ERROR ? -1 : n;
}

long WinsockLayer::Send(SocketId client, const char* bytes, int size) {
    const int n = send(Native(client), bytes, size, 0);
    return n == SOCKET_ERROR ? -1 : n;
}

bool WinsockLayer::WaitWritable(SocketId client, int seconds) {
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(Native(client), &writable);
    timeval wait{seconds, 0};
    return select(0, nullptr, &writable, nullptr, &wait) == 1;
}

void WinsockLayer::Close(SocketId socket) {
    WSAAsyncSelect(Native(socket), window_, 0, 0);  // no further notifications
    closesocket(Native(socket));
}
