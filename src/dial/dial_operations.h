// The three operations of the buttons, written against small interfaces so the
// order of their reads, writes and commands can be checked with fakes.
#pragma once

#include "app/layout.h"
#include "app/time_stamp.h"
#include "runner/text_buffers.h"

// The window's edit boxes as the operations see them.
class DialWindow {
public:
    virtual ~DialWindow() = default;
    virtual Text ReadText(layout::Control box) = 0;
    // The whole content becomes `text`, unchanged, line breaks and all.
    virtual void SetText(layout::Control box, const Text& text) = 0;
    // `text` goes at the very end, with nothing in between.
    virtual void AppendText(layout::Control box, const Text& text) = 0;
};

class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    virtual Text Run(const Text& commandLine) = 0;  // blocks until the command has ended
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime Now() = 0;
};

struct DialContext {
    DialWindow& window;
    CommandRunner& runner;
    Clock& clock;
};

// No quoting, trimming or escaping: the fields go in as they stand.
Text DialCommandLine(const Text& entry, const Text& user, const Text& password);
Text HangUpCommandLine(const Text& entry);

inline const Text kTaskConnect = "1";
inline const Text kTaskDisconnect = "2";
inline const Text kTaskReconnect = "3";

void Connect(DialContext& context);
void Disconnect(DialContext& context);
void Reconnect(DialContext& context);

// Steps the button operations share with the remote redial.
Text RunHangUp(DialContext& context);
Text RunDial(DialContext& context);
void Stamp(DialContext& context, layout::Control box);
