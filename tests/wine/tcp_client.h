// A real TCP client of the program's trigger port on 127.0.0.1, as another
// program on the network would be. Every wait has a time-out.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>

namespace driver {

constexpr std::uint16_t kTriggerPort = 19730;
const std::string kReply("\x01\x00\x00\x00", 4);

class TcpClient {
public:
    explicit TcpClient(std::uint16_t port = kTriggerPort);  // connects at once
    ~TcpClient();
    TcpClient(TcpClient&& other) noexcept;
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    bool Connected() const { return socket_ != INVALID_SOCKET; }
    // "127.0.0.1:<this client's own port>", as the program names it.
    std::string Name() const { return name_; }
    bool Send(const std::string& bytes);
    // Whatever arrives until `atLeast` bytes are in or `timeoutMs` has passed.
    std::string Receive(std::size_t atLeast, DWORD timeoutMs);
    // True when the program has closed the connection (or it broke).
    bool PeerClosed(DWORD timeoutMs);
    void Close();  // in order
    void Reset();  // abortive: the peer sees a reset

private:
    SOCKET socket_ = INVALID_SOCKET;
    std::string name_;
};

// A listener of the test's own on the port, as another program holding it.
class PortHolder {
public:
    explicit PortHolder(std::uint16_t port = kTriggerPort);
    ~PortHolder();
    PortHolder(const PortHolder&) = delete;
    PortHolder& operator=(const PortHolder&) = delete;
    bool Holding() const { return socket_ != INVALID_SOCKET; }

private:
    SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace driver
