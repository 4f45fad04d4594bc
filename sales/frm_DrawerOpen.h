#pragma once

#include "DrawerDialog.h"

class QPushButton;

// "No Sale": opens the drawer without a sale; its one button closes it, and with it the port.
class frm_DrawerOpen : public DrawerDialog {
    Q_OBJECT

public:
    explicit frm_DrawerOpen(QWidget* owner);

    QPushButton* Command1;

    // Opens the drawer; a failure is shown and the dialog opens all the same.
    void Form_Load();
    void Command1_Click();
};
