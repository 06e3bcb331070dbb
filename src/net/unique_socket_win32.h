// Sole owner of a Winsock socket: closes it when it goes, unless released.
#pragma once

#include <winsock2.h>

#include <utility>

class UniqueSocket {
public:
    UniqueSocket() = default;
    explicit UniqueSocket(SOCKET socket) : socket_(socket) {}
    ~UniqueSocket() { Reset(); }
    UniqueSocket(UniqueSocket&& other) noexcept : socket_(other.Release()) {}
    UniqueSocket& operator=(UniqueSocket&& other) noexcept {
        if (this != &other) {
            Reset();
            socket_ = other.Release();
        }
        return *this;
    }
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;

    SOCKET Get() const { return socket_; }
    bool Valid() const { return socket_ != INVALID_SOCKET; }
    SOCKET Release() { return std::exchange(socket_, INVALID_SOCKET); }
    void Reset() {
        if (Valid()) closesocket(Release());
    }

private:
    SOCKET socket_ = INVALID_SOCKET;
};
