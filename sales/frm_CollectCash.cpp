#include "frm_CollectCash.h"

#include "StaffLog.h"
#include "Verification.h"

#include <QPushButton>

namespace {

frm_CollectCash* instance = nullptr;

}

frm_CollectCash& frm_CollectCash::ShowModeless()
{
    if (!instance) {
        instance = new frm_CollectCash;
        instance->show();
        instance->Form_Load();
    }
    instance->raise();
    instance->activateWindow();
    return *instance;
}

frm_CollectCash* frm_CollectCash::Current() { return instance; }

frm_CollectCash::frm_CollectCash()
    : CashCountDialog("Please enter the amount of cash COLLECTED from the drawer", nullptr)
{
    setObjectName("frm_CollectCash");
    setAttribute(Qt::WA_DeleteOnClose);
    connect(btn_OK, &QPushButton::clicked, this, &frm_CollectCash::btn_OK_Click);
    connect(btn_Cancel, &QPushButton::clicked, this, &frm_CollectCash::btn_Cancel_Click);
}

frm_CollectCash::~frm_CollectCash()
{
    if (instance == this)
        instance = nullptr;
}

void frm_CollectCash::btn_OK_Click()
{
    const std::optional<QString> amount = ConfirmedAmount();
    if (!amount)
        return;
    WriteLog(Succeeded_User, "Cash Collected " + *amount);
    close();
}

void frm_CollectCash::btn_Cancel_Click() { close(); }
