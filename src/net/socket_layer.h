// The few socket calls the trigger listener makes, behind one small interface:
// Winsock with WSAAsyncSelect on Windows, a poll loop of our own natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

using SocketId = std::uintptr_t;

struct PeerAddress {
    std::string dottedAddress;  // as inet_ntoa writes it
    std::uint16_t port;
};

class SocketLayer {
public:
    virtual ~SocketLayer() = default;
    // The socket system: started once when the listener is made, ended at its shutdown.
    virtual bool StartSockets() = 0;
    virtual void EndSockets() = 0;
    // An IPv4 stream socket bound to 0.0.0.0:port, listening with SOMAXCONN,
    // with accept readiness reported; none when any step fails.
    virtual std::optional<SocketId> Listen(std::uint16_t port) = 0;
    virtual std::optional<SocketId> Accept(SocketId listener) = 0;
    // Read and close readiness reported from now on; the socket becomes non-blocking.
    virtual bool WatchClient(SocketId client) = 0;
    virtual std::optional<PeerAddress> PeerOf(SocketId client) = 0;
    virtual std::optional<std::uint32_t> BytesWaiting(SocketId client) = 0;
    // Bytes read (> 0), 0 when the peer has closed, -1 on failure (including
    // "nothing more waiting" on the non-blocking socket).
    virtual long Receive(SocketId client, char* buffer, int size) = 0;
    virtual long Send(SocketId client, const char* bytes, int size) = 0;
    virtual bool WaitWritable(SocketId client, int seconds) = 0;
    // Cancels the socket's notifications and closes it.
    virtual void Close(SocketId socket) = 0;
};
