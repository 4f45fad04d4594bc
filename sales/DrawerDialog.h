#pragma once

#include "CommPort.h"

#include <QDialog>

// A window that opens the cash drawer by writing the drawer's command (DrawerCommand) to the drawer's
// port on its own serial control; the port closes with the window.
class DrawerDialog : public QDialog {
public:
    // Loading windows test the port first (TestFirst); after a sale the window sends again on the
    // port it holds (Resend).
    enum class Variant { TestFirst, Resend };

    CommPort MSComm1;
    // "FirstDone" once the drawer's port is open.
    QString Tag;

    // TestFirst: nothing when Tag is set; a port that already reads open is told as "Cannot found
    // drawer", and the command is written all the same. Resend: the first time opens the port; later
    // times send the settings and the command again on the port already held. A failure throws the
    // serial control's VbError, reported as "opening cash drawer".
    void OpenCashDrawer();

protected:
    DrawerDialog(QWidget* owner, Variant variant);

private:
    Variant m_variant;
};
