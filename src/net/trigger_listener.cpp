#include "net/trigger_listener.h"

#include <algorithm>
#include <utility>

TriggerListener::TriggerListener(SocketLayer& sockets, std::uint16_t port) : sockets_(sockets), port_(port) {
    socketsStarted_ = sockets_.StartSockets();
}

TriggerListener::~TriggerListener() { Shutdown(); }

void TriggerListener::Bind(Event event, Handler handler) { handlers_[event] = std::move(handler); }

void TriggerListener::StartListening() {
    if (!socketsStarted_) return;
    if (listener_) sockets_.Close(*std::exchange(listener_, std::nullopt));
    listener_ = sockets_.Listen(port_);  // a port taken or any failure: deaf, and silent
}

void TriggerListener::Raise(Event event, const Text& client, ByteBuffer data) {
    currentClient_ = client;
    currentData_ = std::move(data);
    if (handlers_[event]) handlers_[event]();
    currentClient_ = Text();
    currentData_ = ByteBuffer();
}

void TriggerListener::OnAcceptReady() {
    if (!listener_) return;
    const std::optional<SocketId> client = sockets_.Accept(*listener_);
    if (!client) return;
    // The peer first: a socket closed before it was ever watched can leave no
    // notification behind in the queue, to be taken later for a socket that
    // has been given the same handle.
    const std::optional<PeerAddress> peer = sockets_.PeerOf(*client);
    if (!peer || !sockets_.WatchClient(*client)) {
        sockets_.Close(*client);
        return;
    }
    const Text address(peer->dottedAddress + ":" + std::to_string(peer->port));
    const auto entry = table_.insert(table_.end(), ClientEntry{*client, address});
    bySocket_[*client] = entry;
    byAddress_[std::string(address.View())].push_back(entry);
    Raise(ClientArrived, address);
}

ByteBuffer TriggerListener::ReadAvailable(SocketId client) {
    const std::optional<std::uint32_t> waiting = sockets_.BytesWaiting(client);
    if (!waiting) return ByteBuffer();
    std::string bytes;
    std::size_t request = std::max<std::uint32_t>(*waiting, 1);
    while (bytes.size() < kMostPerNotification) {
        request = std::min(request, kMostPerNotification - bytes.size());
        const std::size_t before = bytes.size();
        bytes.resize(before + request);
        const long got = sockets_.Receive(client, bytes.data() + before, static_cast<int>(request));
        bytes.resize(before + static_cast<std::size_t>(std::max(got, 0L)));
        if (got <= 0) break;
        request = 1024;
    }
    return ByteBuffer(std::move(bytes));
}

void TriggerListener::OnReadReady(SocketId client) {
    ByteBuffer data = ReadAvailable(client);
    if (data.Empty()) return;
    const auto entry = bySocket_.find(client);
    if (entry == bySocket_.end()) return;
    Raise(DataArrived, entry->second->address, std::move(data));
}

// A socket not in the table is not ours any more: it was closed already, and
// its handle may since belong to someone else, so it is left alone.
void TriggerListener::OnCloseReady(SocketId client) {
    const auto found = bySocket_.find(client);
    if (found == bySocket_.end()) return;
    const Table::iterator entry = found->second;
    const Text address = entry->address;
    bySocket_.erase(found);
    Forget(entry);
    table_.erase(entry);
    Raise(ClientLeft, address);
    sockets_.Close(client);
}

void TriggerListener::Forget(Table::iterator entry) {
    const auto named = byAddress_.find(std::string(entry->address.View()));
    if (named == byAddress_.end()) return;
    std::vector<Table::iterator>& entries = named->second;
    entries.erase(std::find(entries.begin(), entries.end(), entry));
    if (entries.empty()) byAddress_.erase(named);
}

bool TriggerListener::SendToClient(const Text& address, std::int32_t value, std::optional<int> waitSeconds) {
    const auto u = static_cast<std::uint32_t>(value);
    const char bytes[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                           static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
    if (address.Empty()) return false;
    const auto named = byAddress_.find(std::string(address.View()));
    if (named == byAddress_.end()) return false;
    const SocketId socket = named->second.front()->socket;  // the first in arrival order
    if (waitSeconds && *waitSeconds >= 0 && !sockets_.WaitWritable(socket, *waitSeconds)) return false;
    int sent = 0;
    while (sent < 4) {
        const long n = sockets_.Send(socket, bytes + sent, 4 - sent);
        if (n <= 0) return false;  // a full send buffer counts as a failure
        sent += static_cast<int>(n);
    }
    return true;
}

void TriggerListener::Shutdown() {
    for (const ClientEntry& entry : table_) sockets_.Close(entry.socket);
    table_.clear();
    bySocket_.clear();
    byAddress_.clear();
    if (listener_) sockets_.Close(*std::exchange(listener_, std::nullopt));
    if (socketsStarted_) {
        sockets_.EndSockets();
        socketsStarted_ = false;
    }
}

std::vector<Text> TriggerListener::ClientAddresses() const {
    std::vector<Text> addresses;
    for (const ClientEntry& entry : table_) addresses.push_back(entry.address);
    return addresses;
}
