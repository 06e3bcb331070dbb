// 服务器1: the TCP server through which other programs trigger a redial. It
// keeps the connected clients in order of arrival under their address texts
// and turns socket readiness into three events, raised one at a time.
#pragma once

#include <functional>
#include <list>
#include <optional>
#include <unordered_map>
#include <vector>

#include "net/socket_layer.h"
#include "runner/text_buffers.h"

class TriggerListener {
public:
    static constexpr std::uint16_t kDefaultPort = 19730;
    // One notification reads at most this much; the rest stays in the socket and
    // raises a further notification, so a peer that keeps sending cannot keep
    // the window from its queue nor grow one buffer without end.
    static constexpr std::size_t kMostPerNotification = 64 * 1024;

    enum Event { DataArrived = 0, ClientArrived = 1, ClientLeft = 2 };
    using Handler = std::function<void()>;

    explicit TriggerListener(SocketLayer& sockets, std::uint16_t port = kDefaultPort);
    ~TriggerListener();
    TriggerListener(const TriggerListener&) = delete;
    TriggerListener& operator=(const TriggerListener&) = delete;

    void Bind(Event event, Handler handler);
    void StartListening();
    bool Listening() const { return listener_.has_value(); }
    std::optional<SocketId> ListeningSocket() const { return listener_; }

    // Readiness, as the platform reports it.
    void OnAcceptReady();
    void OnReadReady(SocketId client);
    void OnCloseReady(SocketId client);

    Text GetClientAddress() const { return currentClient_; }
    ByteBuffer GetReceivedData() const { return currentData_; }
    bool SendToClient(const Text& address, std::int32_t value, std::optional<int> waitSeconds = std::nullopt);

    // Closes every client in table order (no ClientLeft), then the listener.
    void Shutdown();

    std::vector<Text> ClientAddresses() const;  // in order of arrival

private:
    struct ClientEntry {
        SocketId socket;
        Text address;
    };
    using Table = std::list<ClientEntry>;

    void Raise(Event event, const Text& client, ByteBuffer data = ByteBuffer());
    ByteBuffer ReadAvailable(SocketId client);
    void Forget(Table::iterator entry);  // drops the entry from the lookup by address

    SocketLayer& sockets_;
    std::uint16_t port_;
    bool socketsStarted_ = false;
    std::optional<SocketId> listener_;
    Table table_;
    std::unordered_map<SocketId, Table::iterator> bySocket_;
    // Two entries share a name only when a departed client's port is taken
    // again before its close notification has been handled; each name lists
    // its entries in order of arrival, almost always just one.
    std::unordered_map<std::string, std::vector<Table::iterator>> byAddress_;
    Handler handlers_[3];
    Text currentClient_;
    ByteBuffer currentData_;
};
