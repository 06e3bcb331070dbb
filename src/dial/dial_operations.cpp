#include "dial/dial_operations.h"

using layout::Control;

Text DialCommandLine(const Text& entry, const Text& user, const Text& password) {
    return JoinText(Text("cmd /c rasdial "), entry, Text(" "), user, Text(" "), password);
}

Text HangUpCommandLine(const Text& entry) {
    return JoinText(Text("cmd /c rasdial "), entry, Text(" /disconnect"));
}

void Stamp(DialContext& context, Control box) {
    context.window.SetText(box, TimeStampText(context.clock.Now()));
}

Text RunHangUp(DialContext& context) {
    const Text entry = context.window.ReadText(Control::编辑框1);
    return context.runner.Run(HangUpCommandLine(entry));
}

Text RunDial(DialContext& context) {
    const Text entry = context.window.ReadText(Control::编辑框1);
    const Text user = context.window.ReadText(Control::编辑框2);
    const Text password = context.window.ReadText(Control::编辑框3);
    return context.runner.Run(DialCommandLine(entry, user, password));
}

void Connect(DialContext& context) {
    context.window.SetText(Control::编辑框6, kTaskConnect);
    Stamp(context, Control::编辑框5);
    context.window.SetText(Control::编辑框8, RunDial(context));
    Stamp(context, Control::编辑框7);
}

void Disconnect(DialContext& context) {
    context.window.SetText(Control::编辑框6, kTaskDisconnect);
    Stamp(context, Control::编辑框5);
    context.window.SetText(Control::编辑框8, RunHangUp(context));
    Stamp(context, Control::编辑框7);
}

void Reconnect(DialContext& context) {
    context.window.SetText(Control::编辑框6, kTaskReconnect);
    Stamp(context, Control::编辑框5);
    context.window.SetText(Control::编辑框8, RunHangUp(context));
    context.window.AppendText(Control::编辑框8, RunDial(context));
    Stamp(context, Control::编辑框7);
}
