#include "tcp_client.h"

#include <utility>

namespace driver {

namespace {

// Winsock for the whole test program, started on first use.
void StartSocketsOnce() {
    static const bool started = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

bool Readable(SOCKET socket, DWORD timeoutMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval wait{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &wait) == 1;
}

}  // namespace

TcpClient::TcpClient(std::uint16_t port) {
    StartSocketsOnce();
    socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket_ == INVALID_SOCKET) return;
    const sockaddr_in address = Loopback(port);
    if (connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        closesocket(std::exchange(socket_, INVALID_SOCKET));
        return;
    }
    sockaddr_in local{};
    int length = sizeof local;
    getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &length);
    name_ = "127.0.0.1:" + std::to_string(ntohs(local.sin_port));
}

TcpClient::TcpClient(TcpClient&& other) noexcept
    : socket_(std::exchange(other.socket_, INVALID_SOCKET)), name_(std::move(other.name_)) {}

TcpClient::~TcpClient() { Close(); }

bool TcpClient::Send(const std::string& bytes) {
    return Connected() && send(socket_, bytes.data(), static_cast<int>(bytes.size()), 0) ==
                              static_cast<int>(bytes.size());
}

std::string TcpClient::Receive(std::size_t atLeast, DWORD timeoutMs) {
    std::string received;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (Connected() && received.size() < atLeast) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline || !Readable(socket_, static_cast<DWORD>(deadline - now))) break;
        char chunk[4096];
        const int n = recv(socket_, chunk, sizeof chunk, 0);
        if (n <= 0) break;
        received.append(chunk, static_cast<std::size_t>(n));
    }
    return received;
}

bool TcpClient::PeerClosed(DWORD timeoutMs) {
    if (!Connected() || !Readable(socket_, timeoutMs)) return false;
    char byte = 0;
    return recv(socket_, &byte, 1, MSG_PEEK) <= 0;
}

void TcpClient::Close() {
    if (Connected()) closesocket(std::exchange(socket_, INVALID_SOCKET));
}

void TcpClient::Reset() {
    if (!Connected()) return;
    const linger hardClose{1, 0};
    setsockopt(socket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hardClose), sizeof hardClose);
    Close();
}

PortHolder::PortHolder(std::uint16_t port) {
    StartSocketsOnce();
    socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket_ == INVALID_SOCKET) return;
    sockaddr_in address = Loopback(port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(socket_, SOMAXCONN) != 0) {
        closesocket(std::exchange(socket_, INVALID_SOCKET));
    }
}

PortHolder::~PortHolder() {
    if (Holding()) closesocket(socket_);
}

}  // namespace driver
