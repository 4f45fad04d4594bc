#pragma once

#include "CashCountDialog.h"
#include "ShiftHooks.h"

#include <optional>
#include <utility>

// The station passes to the next staff member: the drawer opens, the outgoing staff member types
// the cash counted, and OK logs it and starts the program over at the login window.
class frm_HandOver : public CashCountDialog {
    Q_OBJECT

public:
    frm_HandOver(const ShiftHooks& hooks);

    void btn_OK_Click();
    void btn_Cancel_Click();

private:
    ShiftHooks m_hooks;
    // The time and text of the amount's log row once an OK tried to write it: an OK after a failed
    // write looks for the row first, since the failure may have come after it was written.
    std::optional<std::pair<QString, QString>> m_amountRow;
};

// The main window's "Hand Over": any verified staff member may hand over; the request is logged and
// the hand-over window opens. A refused verification writes and opens nothing.
void HandOver(const ShiftHooks& hooks);
