// The two handlers through which a client of the trigger listener renews the
// connection, on the same small interfaces as the button operations.
#pragma once

#include <cstdint>

#include "dial/dial_operations.h"

// What the handlers need of the listener: who the current client is, and a
// way to answer a client named by its address text.
class TriggerClients {
public:
    virtual ~TriggerClients() = default;
    virtual Text GetClientAddress() = 0;
    virtual bool SendToClient(const Text& address, std::int32_t value) = 0;
};

// The value a finished redial sends: its four bytes are 01 00 00 00 on the wire.
inline constexpr std::int32_t kRedialDone = 1;

// A client connected: 编辑框4 shows its address text, 编辑框5 the time.
void OnClientArrived(DialContext& context, TriggerClients& clients);

// A client sent data: hang up, dial again, show both outputs and times, then
// answer the client that 编辑框4 names, whoever sent the data.
void RemoteRedial(DialContext& context, TriggerClients& clients);
