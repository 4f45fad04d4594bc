#include "DrawerDialog.h"

#include "Globals.h"
#include "Prompter.h"

namespace {

const QString DrawerOpenedMarker = QStringLiteral("FirstDone");

}

DrawerDialog::DrawerDialog(QWidget* owner, Variant variant) : QDialog(owner), m_variant(variant) {}

void DrawerDialog::OpenCashDrawer()
{
    if (m_variant == Variant::TestFirst && !Tag.isEmpty())
        return;
    CurrentTask = "opening cash drawer";
    if (!Tag.isEmpty()) {
        MSComm1.SetSettings(DrawerCommSettings);
        MSComm1.Output(DrawerCommand);
        return;
    }
    MSComm1.SetPort(DrawerCommPort);
    MSComm1.SetSettings(DrawerCommSettings);
    if (m_variant == Variant::TestFirst && MSComm1.PortOpen()) {
        MsgBox("Cannot found drawer");
    } else {
        MSComm1.SetPortOpen(true);
        Tag = DrawerOpenedMarker;
    }
    MSComm1.Output(DrawerCommand);
}
