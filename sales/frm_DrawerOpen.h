#pragma once

#include "CommPort.h"

#include <QDialog>

class QPushButton;

// "No Sale": opens the drawer without a sale; its one button closes it, and with it the port.
class frm_DrawerOpen : public QDialog {
    Q_OBJECT

public:
    explicit frm_DrawerOpen(QWidget* owner);

    QPushButton* Command1;
    // "FirstDone" once the drawer's port is open.
    QString Tag;

    // Opens the drawer; a failure is shown and the dialog opens all the same.
    void Form_Load();
    void Command1_Click();

private:
    CommPort MSComm1;
};
