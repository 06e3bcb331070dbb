#include "dial/remote_redial.h"

using layout::Control;

void OnClientArrived(DialContext& context, TriggerClients& clients) {
    context.window.SetText(Control::编辑框4, clients.GetClientAddress());
    Stamp(context, Control::编辑框5);
}

// Unlike the reconnect button, the start time is taken after the hang-up.
void RemoteRedial(DialContext& context, TriggerClients& clients) {
    context.window.SetText(Control::编辑框6, kTaskReconnect);
    context.window.SetText(Control::编辑框8, RunHangUp(context));
    Stamp(context, Control::编辑框5);
    context.window.AppendText(Control::编辑框8, RunDial(context));
    Stamp(context, Control::编辑框7);
    clients.SendToClient(context.window.ReadText(Control::编辑框4), kRedialDone);  // sent or not, the redial is done
}
