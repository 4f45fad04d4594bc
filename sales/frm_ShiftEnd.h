#pragma once

#include "DrawerDialog.h"
#include "ShiftHooks.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The end of the station's shift ShiftName: the drawer opens, the money in the drawer and the cash
// float are typed, OK records the shift, and then Close logs out and ends the program.
class frm_ShiftEnd : public DrawerDialog {
    Q_OBJECT

public:
    explicit frm_ShiftEnd(const ShiftHooks& hooks);

    QLineEdit* txt_MoneyInDrawer;
    QLineEdit* txt_CashFloat;
    QLineEdit* txt_Sales;
    QPushButton* btn_OK;
    // "Cancel", and "Close" once the shift is recorded.
    QPushButton* btn_Cancel;
    QPushButton* btn_PrintReport;

    // Opens the drawer and names the shift in the caption; a failed drawer is shown, and the window
    // opens with its design caption.
    void Form_Load();
    // Either amount changed: while both are typed, Sales shows their difference.
    void txt_MoneyInDrawer_Change();
    void txt_CashFloat_Change();
    void btn_OK_Click();
    void btn_PrintReport_Click();
    void btn_Cancel_Click();

private:
    ShiftHooks m_hooks;
};

// The main window's "End of Morning Shift" and "End of Evening Shift": ShiftName becomes shift
// ("morning" or "evening") whatever the answer; Yes to the question opens the end-of-shift window.
void EndShift(const ShiftHooks& hooks, const QString& shift);
