// The real command runner and clock behind the operations' interfaces.
#pragma once

#include "dial/dial_operations.h"
#include "runner/console_runner.h"

class ConsoleCommandRunner : public CommandRunner {
public:
    Text Run(const Text& commandLine) override { return RunConsoleCommand(commandLine); }
};

class SystemClock : public Clock {
public:
    DateTime Now() override { return CurrentDateTime(); }
};
