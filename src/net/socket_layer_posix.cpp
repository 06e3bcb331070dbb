#include "net/socket_layer_posix.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace {

int Fd(SocketId socket) { return static_cast<int>(socket); }

}  // namespace

std::optional<SocketId> PosixSocketLayer::Listen(std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return std::nullopt;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, SOMAXCONN) != 0) {
        close(fd);
        return std::nullopt;
    }
    listener_ = static_cast<SocketId>(fd);
    return listener_;
}

std::optional<SocketId> PosixSocketLayer::Accept(SocketId listener) {
    const int fd = accept(Fd(listener), nullptr, nullptr);
    if (fd < 0) return std::nullopt;
    return static_cast<SocketId>(fd);
}

bool PosixSocketLayer::WatchClient(SocketId client) {
    const int flags = fcntl(Fd(client), F_GETFL);
    if (flags < 0 || fcntl(Fd(client), F_SETFL, flags | O_NONBLOCK) != 0) return false;
    clients_.insert(client);
    return true;
}

std::optional<PeerAddress> PosixSocketLayer::PeerOf(SocketId client) {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    if (getpeername(Fd(client), reinterpret_cast<sockaddr*>(&peer), &length) != 0) return std::nullopt;
    char dotted[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &peer.sin_addr, dotted, sizeof dotted);
    return PeerAddress{dotted, ntohs(peer.sin_port)};
}

std::optional<std::uint32_t> PosixSocketLayer::BytesWaiting(SocketId client) {
    int count = 0;
    if (ioctl(Fd(client), FIONREAD, &count) != 0) return std::nullopt;
    return static_cast<std::uint32_t>(count < 0 ? 0 : count);
}

long PosixSocketLayer::Receive(SocketId client, char* buffer, int size) {
    const ssize_t n = recv(Fd(client), buffer, static_cast<std::size_t>(size), 0);
    return n < 0 ? -1 : static_cast<long>(n);
}

long PosixSocketLayer::Send(SocketId client, const char* bytes, int size) {
    const ssize_t n = send(Fd(client), bytes, static_cast<std::size_t>(size), MSG_NOSIGNAL | MSG_DONTWAIT);
    return n < 0 ? -1 : static_cast<long>(n);
}

bool PosixSocketLayer::WaitWritable(SocketId client, int seconds) {
    pollfd entry{Fd(client), POLLOUT, 0};
    return poll(&entry, 1, seconds * 1000) == 1 && (entry.revents & POLLOUT) != 0;
}

void PosixSocketLayer::Close(SocketId socket) {
    clients_.erase(socket);
    if (listener_ == socket) listener_.reset();
    close(Fd(socket));
}

std::uint16_t PosixSocketLayer::LocalPort(SocketId socket) const {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    getsockname(Fd(socket), reinterpret_cast<sockaddr*>(&local), &length);
    return ntohs(local.sin_port);
}

void PosixSocketLayer::Pump(TriggerListener& listener, int timeoutMs) {
    std::vector<pollfd> entries;
    if (listener_) entries.push_back({Fd(*listener_), POLLIN, 0});
    for (SocketId client : clients_) entries.push_back({Fd(client), POLLIN, 0});
    if (poll(entries.data(), entries.size(), timeoutMs) <= 0) return;
    for (const pollfd& entry : entries) {
        if (entry.revents == 0) continue;
        const auto socket = static_cast<SocketId>(entry.fd);
        if (listener_ && socket == *listener_) {
            listener.OnAcceptReady();
            continue;
        }
        if (clients_.count(socket) == 0) continue;  // closed by an earlier event of this pass
        // Data first, as a read notification; the end of the stream after it,
        // as a close notification, once nothing is left to read.
        char probe = 0;
        const ssize_t n = recv(entry.fd, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
        if (n > 0) {
            listener.OnReadReady(socket);
        } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            listener.OnCloseReady(socket);
        }
    }
}
