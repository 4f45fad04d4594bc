#include "CashDrawer.h"

#include "Globals.h"
#include "Prompter.h"

#include "CommPort.h"

void OpenCashDrawerA(CommPort& port, QString& marker)
{
    if (!marker.isEmpty())
        return;
    CurrentTask = "opening cash drawer";
    port.SetPort(DrawerCommPort);
    port.SetSettings(DrawerCommSettings);
    if (port.PortOpen()) {
        MsgBox("Cannot found drawer");
    } else {
        port.SetPortOpen(true);
        marker = DrawerOpenedMarker;
    }
    port.Output(DrawerCommand);
}

void OpenCashDrawerB(CommPort& port, QString& marker)
{
    CurrentTask = "opening cash drawer";
    if (marker.isEmpty()) {
        port.SetPort(DrawerCommPort);
        port.SetSettings(DrawerCommSettings);
        port.SetPortOpen(true);
        port.Output(DrawerCommand);
        marker = DrawerOpenedMarker;
    } else {
        port.SetSettings(DrawerCommSettings);
        port.Output(DrawerCommand);
    }
}
