#pragma once

#include "DrawerDialog.h"

#include <QString>
#include <optional>

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

    // The amount as the staff log writes it ("12.5") once it is asked whether it is right and then
    // to close the drawer; none when it is no plain amount (told: a "1,000.50" would be logged as 1)
    // or was not confirmed.
    std::optional<QString> ConfirmedAmount() const;
};
