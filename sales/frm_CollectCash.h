#pragma once

#include "CashCountDialog.h"

// Cash taken out of the drawer by an administrator: the drawer opens when the window does, and OK
// records the amount in the staff log. Modeless, one at a time.
class frm_CollectCash : public CashCountDialog {
    Q_OBJECT

public:
    // Shows the window, or brings the open one forward without opening the drawer again.
    static frm_CollectCash& ShowModeless();
    // The open window, or null.
    static frm_CollectCash* Current();

    void btn_OK_Click();
    void btn_Cancel_Click();

    ~frm_CollectCash() override;

private:
    frm_CollectCash();
};
