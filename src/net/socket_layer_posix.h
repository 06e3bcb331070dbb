// The native build's socket layer: BSD sockets, with readiness found by a poll
// loop of our own and handed to the listener on the calling thread.
#pragma once

#include <set>

#include "net/socket_layer.h"
#include "net/trigger_listener.h"

class PosixSocketLayer : public SocketLayer {
public:
    bool StartSockets() override { return true; }
    void EndSockets() override {}
    std::optional<SocketId> Listen(std::uint16_t port) override;
    std::optional<SocketId> Accept(SocketId listener) override;
    bool WatchClient(SocketId client) override;
    std::optional<PeerAddress> PeerOf(SocketId client) override;
    std::optional<std::uint32_t> BytesWaiting(SocketId client) override;
    long Receive(SocketId client, char* buffer, int size) override;
    long Send(SocketId client, const char* bytes, int size) override;
    bool WaitWritable(SocketId client, int seconds) override;
    void Close(SocketId socket) override;

    std::uint16_t LocalPort(SocketId socket) const;
    // Waits up to `timeoutMs` for readiness and hands each ready socket to the
    // listener, as the Windows notifications would: accept, read, then close.
    void Pump(TriggerListener& listener, int timeoutMs);

private:
    std::optional<SocketId> listener_;
    std::set<SocketId> clients_;
};
