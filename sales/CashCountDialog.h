#pragma once

#include "DrawerDialog.h"

class QLineEdit;
class QPushButton;

// A window in which the cashier types the cash counted in the drawer: the drawer opens when it
// loads, and OK has the amount confirmed and the drawer closed before the window acts on it.
class CashCountDialog : public DrawerDialog {
public:
    QLineEdit* txt_CashRegister;
    QPushButton* btn_OK;
    QPushButton* btn_Cancel;

    // Opens the drawer and puts the caret after the amount; a failure is shown and the window
    // opens all the same.
    void Form_Load();

protected:
    CashCountDialog(const QString& prompt, QWidget* owner);

    // Asks whether the amount is right and then to close the drawer; false when it was not confirmed.
    static bool ConfirmCounted();
    // The amount as the staff log writes it: the leading number of the text, 0 without one.
    QString CountedAmount() const;
};
