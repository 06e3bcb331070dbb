// The listener's logic over a scripted socket layer: the client table, the
// events and what is current during them, the read bound and the send rules.
#include "net/trigger_listener.h"
#include "net/socket_layer_posix.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

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
    bool WatchClient(SocketId s) override { return unwatchable.count(s) == 0; }
    std::optional<PeerAddress> PeerOf(SocketId s) override {
        if (nameless.count(s) != 0) return std::nullopt;
        const auto port = ports.find(s);
        return PeerAddress{"127.0.0.1", static_cast<std::uint16_t>(port != ports.end() ? port->second : 40000 + s)};
    }
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
    std::set<SocketId> unwatchable, nameless;
    std::map<SocketId, std::uint16_t> ports;
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
    f.listener.OnCloseReady(99);  // not a client (any more): left alone, no event
    EXPECT_EQ(f.events, (std::vector<std::string>{"arrived 127.0.0.1:40007 ", "arrived 127.0.0.1:40008 ",
                                                   "data 127.0.0.1:40007 abc", "left 127.0.0.1:40007 "}));
    EXPECT_EQ(f.listener.ClientAddresses(), std::vector<Text>{Text("127.0.0.1:40008")});
    EXPECT_EQ(f.listener.GetClientAddress(), Text()) << "nothing is current outside an event";
    EXPECT_EQ(f.listener.GetReceivedData(), ByteBuffer());
    EXPECT_EQ(f.sockets.closes[7], 1);
    EXPECT_EQ(f.sockets.closes.count(99), 0u) << "a handle that is not ours is never closed";
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

TEST(TriggerListenerTest, AClientThatCannotBeWatchedOrNamedIsClosedWithoutAnEvent) {
    Fixture f;
    f.sockets.unwatchable.insert(7);
    f.sockets.nameless.insert(8);
    f.Arrive(7);
    f.Arrive(8);
    f.Arrive(9);
    EXPECT_EQ(f.events, std::vector<std::string>{"arrived 127.0.0.1:40009 "});
    EXPECT_EQ(f.listener.ClientAddresses(), std::vector<Text>{Text("127.0.0.1:40009")});
    EXPECT_EQ(f.sockets.closes[7], 1);
    EXPECT_EQ(f.sockets.closes[8], 1);
    f.listener.OnCloseReady(8);  // a notification left from before it was closed
    EXPECT_EQ(f.sockets.closes[8], 1);
}

// A departed client's port taken again before its departure is handled: the
// name answers the first of the two, then the one that is still there.
TEST(TriggerListenerTest, ANameSharedForAWhileFindsTheEarlierEntryFirst) {
    Fixture f;
    f.sockets.ports = {{7, 5000}, {8, 5000}};
    f.Arrive(7);
    f.Arrive(8);
    EXPECT_TRUE(f.listener.SendToClient(Text("127.0.0.1:5000"), 1));
    EXPECT_EQ(f.sockets.sent[7].size(), 4u);
    f.listener.OnCloseReady(7);
    EXPECT_TRUE(f.listener.SendToClient(Text("127.0.0.1:5000"), 1));
    EXPECT_EQ(f.sockets.sent[8].size(), 4u);
    f.listener.OnCloseReady(8);
    EXPECT_FALSE(f.listener.SendToClient(Text("127.0.0.1:5000"), 1));
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

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

int ConnectLoopback(std::uint16_t port, int receiveBuffer = 0) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0) setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
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

// The listener on a free port of 127.0.0.1, with its events recorded and the
// poll loop pumped until enough of them have come.
struct Loopback {
    PosixSocketLayer sockets;
    TriggerListener listener{sockets, 0};
    std::vector<std::string> events;
    std::uint16_t port = 0;

    Loopback() {
        RecordEvents(listener, events);
        listener.StartListening();
        if (listener.Listening()) port = sockets.LocalPort(*listener.ListeningSocket());
    }
    ~Loopback() { listener.Shutdown(); }
    bool PumpUntil(std::size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (events.size() < count && std::chrono::steady_clock::now() < deadline) sockets.Pump(listener, 50);
        return events.size() >= count;
    }
    // Connects a client and waits for its arrival; its address text in `name`.
    int Connect(std::string& name, int receiveBuffer = 0) {
        const int fd = ConnectLoopback(port, receiveBuffer);
        name = "127.0.0.1:" + std::to_string(LocalPortOf(fd));
        PumpUntil(events.size() + 1);
        return fd;
    }
};

bool NothingToRead(int fd) {
    char byte = 0;
    return recv(fd, &byte, 1, MSG_DONTWAIT) < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
}

TEST(TriggerListenerLoopbackTest, ConnectSendReplyAndLeave) {
    Loopback loop;
    ASSERT_TRUE(loop.listener.Listening());
    std::string name;
    const int client = loop.Connect(name);
    ASSERT_GE(client, 0);
    ASSERT_EQ(loop.events, std::vector<std::string>{"arrived " + name + " "}) << "named by the client's own local port";

    ASSERT_EQ(send(client, "x", 1, 0), 1);
    ASSERT_TRUE(loop.PumpUntil(2));
    EXPECT_EQ(loop.events[1], "data " + name + " x");
    EXPECT_TRUE(loop.listener.SendToClient(Text(name), 1));
    char reply[8] = {};
    EXPECT_EQ(recv(client, reply, sizeof reply, 0), 4);
    EXPECT_EQ(std::string(reply, 4), std::string("\x01\x00\x00\x00", 4));
    EXPECT_TRUE(NothingToRead(client)) << "the connection stays open, with nothing more";

    ASSERT_EQ(send(client, "yz", 2, 0), 2);
    close(client);  // data, then the close at once
    ASSERT_TRUE(loop.PumpUntil(4));
    EXPECT_EQ(loop.events[2], "data " + name + " yz");
    EXPECT_EQ(loop.events[3], "left " + name + " ");
    EXPECT_FALSE(loop.listener.SendToClient(Text(name), 1));
}

TEST(TriggerListenerLoopbackTest, AResetIsADeparture) {
    Loopback loop;
    std::string first, second;
    const int a = loop.Connect(first);
    const int b = loop.Connect(second);
    const linger hardClose{1, 0};
    setsockopt(a, SOL_SOCKET, SO_LINGER, &hardClose, sizeof hardClose);
    close(a);  // sends a reset
    ASSERT_TRUE(loop.PumpUntil(3));
    EXPECT_EQ(loop.events[2], "left " + first + " ");
    EXPECT_EQ(loop.listener.ClientAddresses(), std::vector<Text>{Text(second)});
    close(b);
}

TEST(TriggerListenerLoopbackTest, NothingIsSentToAnEmptyUnknownOrDepartedName) {
    Loopback loop;
    std::string name, leaver;
    const int client = loop.Connect(name);
    const int gone = loop.Connect(leaver);
    close(gone);
    ASSERT_TRUE(loop.PumpUntil(3));
    const std::string port = name.substr(name.find(':') + 1);
    for (const std::string& address : std::vector<std::string>{"", leaver, "127.0.0.1:1", "127.0.0.1:" + port + " ",
                                       "127.0.0.1:0" + port, "localhost:" + port}) {
        EXPECT_FALSE(loop.listener.SendToClient(Text(address), 1)) << address;
    }
    EXPECT_TRUE(NothingToRead(client));
    close(client);
}

TEST(TriggerListenerLoopbackTest, AFullSendBufferFailsAtOnceOrAfterTheWait) {
    Loopback loop;
    std::string name;
    const int client = loop.Connect(name, 4096);  // a reader that never reads
    const Text address(name);
    int sends = 0;
    while (sends < 4'000'000 && loop.listener.SendToClient(address, sends)) ++sends;
    ASSERT_LT(sends, 4'000'000) << "the send buffer never filled";
    EXPECT_FALSE(loop.listener.SendToClient(address, 1, 0));
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(loop.listener.SendToClient(address, 1, 1));
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(900)) << "waited its second";

    // Every four-byte value that was accepted arrives whole and in order; a
    // failed send may have handed part of its value over.
    std::string received;
    char chunk[65536];
    for (;;) {
        const ssize_t n = recv(client, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n <= 0) break;
        received.append(chunk, static_cast<std::size_t>(n));
    }
    ASSERT_GE(received.size(), static_cast<std::size_t>(sends) * 4);
    for (int i = 0; i < sends; i += 997) {
        std::int32_t value = 0;
        std::memcpy(&value, received.data() + 4 * i, 4);
        ASSERT_EQ(value, i);
    }
    EXPECT_TRUE(loop.listener.SendToClient(address, 1, 1)) << "room again once the client has read";
    close(client);
}

TEST(TriggerListenerLoopbackTest, ABigBurstArrivesWholeInEventsOfAtMost64KiB) {
    Loopback loop;
    std::string name;
    const int client = loop.Connect(name);
    std::string burst(200 * 1024, '\0');
    for (std::size_t i = 0; i < burst.size(); ++i) burst[i] = static_cast<char>(i * 7 + i / 251);
    ASSERT_EQ(send(client, burst.data(), burst.size(), 0), static_cast<ssize_t>(burst.size()));
    const std::string prefix = "data " + name + " ";
    std::string delivered;
    std::size_t seen = 1;  // the arrival
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (delivered.size() < burst.size() && std::chrono::steady_clock::now() < deadline) {
        loop.sockets.Pump(loop.listener, 50);
        for (; seen < loop.events.size(); ++seen) {
            const std::string& event = loop.events[seen];
            ASSERT_EQ(event.compare(0, prefix.size(), prefix), 0) << event.substr(0, 40);
            ASSERT_LE(event.size() - prefix.size(), TriggerListener::kMostPerNotification);
            delivered += event.substr(prefix.size());
        }
    }
    EXPECT_TRUE(delivered == burst) << "every byte, in order, once (" << delivered.size() << " bytes)";
    close(client);
}

TEST(TriggerListenerLoopbackTest, ManyClientsKeepTheirOrderAndTheirOwnNames) {
    Loopback loop;
    constexpr int kClients = 300;
    std::vector<int> clients;
    std::vector<Text> names;
    for (int i = 0; i < kClients; ++i) {
        const int fd = ConnectLoopback(loop.port);
        ASSERT_GE(fd, 0);
        clients.push_back(fd);
        names.push_back(Text("127.0.0.1:" + std::to_string(LocalPortOf(fd))));
    }
    ASSERT_TRUE(loop.PumpUntil(kClients));
    EXPECT_EQ(loop.listener.ClientAddresses(), names) << "in order of arrival";
    for (int i = kClients - 1; i >= 0; i -= 7) {
        ASSERT_TRUE(loop.listener.SendToClient(names[i], i));
        std::int32_t value = -1;
        ASSERT_EQ(recv(clients[i], &value, 4, 0), 4);
        EXPECT_EQ(value, i);
    }
    for (int i = 0; i < kClients; i += 2) close(clients[i]);
    ASSERT_TRUE(loop.PumpUntil(kClients + kClients / 2));
    std::vector<Text> remaining;
    for (int i = 1; i < kClients; i += 2) remaining.push_back(names[i]);
    EXPECT_EQ(loop.listener.ClientAddresses(), remaining);
    for (int i = 1; i < kClients; i += 2) close(clients[i]);
}

}  // namespace
