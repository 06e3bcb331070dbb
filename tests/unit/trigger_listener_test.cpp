// The listener's logic over a scripted socket layer: the client table, the
// events and what is current during them, the read bound and the send rules.
#include "net/trigger_listener.h"
#include "net/socket_layer_posix.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace {

class ScriptedSockets : public SocketLayer {
public:
    bool StartSockets() override { return startable; }
    void EndSockets() override { ended = true; }
    std::optional<SocketId> Listen(std::uint16_t) override {
        if (!portFree) return std::nullopt;
        return SocketId{1};
    }
    std::optional<SocketId> Accept(SocketId) override {
        if (pendingAccepts.empty()) return std::nullopt;
        const SocketId s = pendingAccepts.front();
        pendingAccepts.pop_front();
        return s;
    }
    bool WatchClient(SocketId) override { return true; }
    std::optional<PeerAddress> PeerOf(SocketId s) override { return PeerAddress{"127.0.0.1", static_cast<std::uint16_t>(40000 + s)}; }
    std::optional<std::uint32_t> BytesWaiting(SocketId s) override {
        return static_cast<std::uint32_t>(inbound[s].size());
    }
    long Receive(SocketId s, char* buffer, int size) override {
        std::string& in = inbound[s];
        if (in.empty()) return -1;  // would block
        const std::size_t n = std::min(in.size(), static_cast<std::size_t>(size));
        std::copy_n(in.data(), n, buffer);
        in.erase(0, n);
        return static_cast<long>(n);
    }
    long Send(SocketId s, const char* bytes, int size) override {
        if (sendBufferFull) return -1;
        const int n = std::min(size, sendChunk);
        sent[s].append(bytes, static_cast<std::size_t>(n));
        return n;
    }
    bool WaitWritable(SocketId, int) override { return !sendBufferFull; }
    void Close(SocketId s) override { ++closes[s]; }

    bool startable = true;
    bool portFree = true;
    bool ended = false;
    bool sendBufferFull = false;
    int sendChunk = 4;
    std::deque<SocketId> pendingAccepts;
    std::map<SocketId, std::string> inbound;
    std::map<SocketId, std::string> sent;
    std::map<SocketId, int> closes;
};

// Binds all three events to one record: "event client data", as current during it.
void RecordEvents(TriggerListener& listener, std::vector<std::string>& events) {
    const auto record = [&](const char* name) {
        return [&listener, &events, name] {
            events.push_back(std::string(name) + " " + std::string(listener.GetClientAddress().View()) + " " +
                             listener.GetReceivedData().Bytes());
        };
    };
    listener.Bind(TriggerListener::DataArrived, record("data"));
    listener.Bind(TriggerListener::ClientArrived, record("arrived"));
    listener.Bind(TriggerListener::ClientLeft, record("left"));
}

struct Fixture {
    ScriptedSockets sockets;
    TriggerListener listener{sockets};
    std::vector<std::string> events;

    Fixture() {
        RecordEvents(listener, events);
        listener.StartListening();
    }
    void Arrive(SocketId s) {
        sockets.pendingAccepts.push_back(s);
        listener.OnAcceptReady();
    }
};

TEST(TriggerListenerTest, TableAndEventsThroughArrivalDataAndDeparture) {
    Fixture f;
    ASSERT_TRUE(f.listener.Listening());
    f.Arrive(7);
    f.Arrive(8);
    f.sockets.inbound[7] = "abc";
    f.listener.OnReadReady(7);
    f.listener.OnReadReady(7);  // nothing waiting any more: no event
    f.listener.OnCloseReady(7);
    f.listener.OnCloseReady(99);  // not a client: closed, no event
    EXPECT_EQ(f.events, (std::vector<std::string>{"arrived 127.0.0.1:40007 ", "arrived 127.0.0.1:40008 ",
                                                   "data 127.0.0.1:40007 abc", "left 127.0.0.1:40007 "}));
    EXPECT_EQ(f.listener.ClientAddresses(), std::vector<Text>{Text("127.0.0.1:40008")});
    EXPECT_EQ(f.listener.GetClientAddress(), Text()) << "nothing is current outside an event";
    EXPECT_EQ(f.listener.GetReceivedData(), ByteBuffer());
    EXPECT_EQ(f.sockets.closes[7], 1);
    EXPECT_EQ(f.sockets.closes[99], 1);
    f.listener.Shutdown();
    EXPECT_EQ(f.sockets.closes[8], 1);
    EXPECT_EQ(f.sockets.closes[1], 1) << "the listening socket";
    EXPECT_TRUE(f.sockets.ended);
    EXPECT_EQ(f.events.size(), 4u) << "no ClientLeft at shutdown";
}

TEST(TriggerListenerTest, OneNotificationReadsAtMost64KiB) {
    Fixture f;
    f.Arrive(7);
    f.sockets.inbound[7] = std::string(150 * 1024, 'x');
    f.listener.OnReadReady(7);
    f.listener.OnReadReady(7);
    f.listener.OnReadReady(7);
    ASSERT_EQ(f.events.size(), 4u);
    EXPECT_EQ(f.events[1].size() - std::string("data 127.0.0.1:40007 ").size(), 64u * 1024);
    EXPECT_EQ(f.events[3].size() - std::string("data 127.0.0.1:40007 ").size(), 22u * 1024);
}

TEST(TriggerListenerTest, SendToClientOnlyToAConnectedNamedClient) {
    Fixture f;
    f.Arrive(7);
    f.sockets.sendChunk = 1;  // partial sends are continued
    EXPECT_TRUE(f.listener.SendToClient(Text("127.0.0.1:40007"), 1));
    EXPECT_EQ(f.sockets.sent[7], std::string("\x01\x00\x00\x00", 4));
    EXPECT_TRUE(f.listener.SendToClient(Text("127.0.0.1:40007"), -2));
    EXPECT_EQ(f.sockets.sent[7].substr(4), std::string("\xFE\xFF\xFF\xFF", 4));
    EXPECT_FALSE(f.listener.SendToClient(Text(), 1));
    EXPECT_FALSE(f.listener.SendToClient(Text("127.0.0.1:1"), 1));
    f.sockets.sendBufferFull = true;
    EXPECT_FALSE(f.listener.SendToClient(Text("127.0.0.1:40007"), 1));
    EXPECT_FALSE(f.listener.SendToClient(Text("127.0.0.1:40007"), 1, 0));
    f.sockets.sendBufferFull = false;
    f.listener.OnCloseReady(7);
    EXPECT_FALSE(f.listener.SendToClient(Text("127.0.0.1:40007"), 1)) << "departed";
    EXPECT_EQ(f.sockets.sent[7].size(), 8u);
}

TEST(TriggerListenerTest, APortAlreadyTakenLeavesItDeafAndSilent) {
    ScriptedSockets sockets;
    sockets.portFree = false;
    TriggerListener listener(sockets);
    listener.StartListening();
    EXPECT_FALSE(listener.Listening());
    listener.OnAcceptReady();
    EXPECT_TRUE(listener.ClientAddresses().empty());
}

}  // namespace

// The same logic against real sockets on 127.0.0.1, through the native poll layer.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace {

int ConnectLoopback(std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? fd : (close(fd), -1);
}

std::uint16_t LocalPortOf(int fd) {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    return ntohs(local.sin_port);
}

TEST(TriggerListenerLoopbackTest, ConnectSendReplyAndLeave) {
    PosixSocketLayer sockets;
    TriggerListener listener(sockets, 0);  // any free port
    std::vector<std::string> events;
    RecordEvents(listener, events);
    listener.StartListening();
    ASSERT_TRUE(listener.Listening());
    const std::uint16_t port = sockets.LocalPort(*listener.ListeningSocket());

    const int client = ConnectLoopback(port);
    ASSERT_GE(client, 0);
    const std::string name = "127.0.0.1:" + std::to_string(LocalPortOf(client));
    const auto pumpUntil = [&](std::size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (events.size() < count && std::chrono::steady_clock::now() < deadline) sockets.Pump(listener, 50);
    };
    pumpUntil(1);
    ASSERT_EQ(events, std::vector<std::string>{"arrived " + name + " "}) << "named by the client's own local port";

    ASSERT_EQ(send(client, "x", 1, 0), 1);
    pumpUntil(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1], "data " + name + " x");
    EXPECT_TRUE(listener.SendToClient(Text(name), 1));
    char reply[8] = {};
    EXPECT_EQ(recv(client, reply, sizeof reply, 0), 4);
    EXPECT_EQ(std::string(reply, 4), std::string("\x01\x00\x00\x00", 4));

    ASSERT_EQ(send(client, "yz", 2, 0), 2);
    close(client);  // data, then the close at once
    pumpUntil(4);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2], "data " + name + " yz");
    EXPECT_EQ(events[3], "left " + name + " ");
    EXPECT_FALSE(listener.SendToClient(Text(name), 1));
}

}  // namespace
