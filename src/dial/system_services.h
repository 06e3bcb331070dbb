// The real command runner, clock and listener behind the handlers' interfaces.
#pragma once

#include "dial/dial_operations.h"
#include "dial/remote_redial.h"
#include "net/trigger_listener.h"
#include "runner/console_runner.h"

class ConsoleCommandRunner : public CommandRunner {
public:
    Text Run(const Text& commandLine) override { return RunConsoleCommand(commandLine); }
};

class SystemClock : public Clock {
public:
    DateTime Now() override { return CurrentDateTime(); }
};

class ListenerClients : public TriggerClients {
public:
    explicit ListenerClients(TriggerListener& listener) : listener_(listener) {}
    Text GetClientAddress() override { return listener_.GetClientAddress(); }
    bool SendToClient(const Text& address, std::int32_t value) override {
        return listener_.SendToClient(address, value);  // no wait: a full send buffer drops the reply
    }

private:
    TriggerListener& listener_;
};
