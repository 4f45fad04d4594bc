#include "frm_HandOver.h"

#include "Clock.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "StaffLog.h"
#include "Verification.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>

frm_HandOver::frm_HandOver(const ShiftHooks& hooks)
    : CashCountDialog("Please enter the amount of cash counted in the cash register", hooks.owner), m_hooks(hooks)
{
    setObjectName("frm_HandOver");
    setWindowTitle("HandOver the Cash Machine");
    btn_OK->setDefault(true);
    connect(btn_OK, &QPushButton::clicked, this, &frm_HandOver::btn_OK_Click);
    connect(btn_Cancel, &QPushButton::clicked, this, &frm_HandOver::btn_Cancel_Click);
}

void frm_HandOver::btn_OK_Click()
{
    const std::optional<QString> amount = ConfirmedAmount();
    if (!amount)
        return;
    // The station changes hands only once the amount is in the log; while the database does not
    // answer, the window stays open with the amount for another OK.
    const QString text = "Handover at " + *amount + ", will change user now";
    const bool tried = m_amountRow && m_amountRow->second == text;
    if (!tried)
        m_amountRow.emplace(DbDateTime(Now()), text);
    try {
        CurrentTask = "handing over";
        WriteLogOnce(StaffLogin, m_amountRow->first, text, tried);
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
        return;
    }
    accept();
    // The main window owns this window and the handler that opened it: it is taken down only once
    // they have returned to the event loop.
    QTimer::singleShot(0, qApp, [hooks = m_hooks] {
        hooks.stopVideoRecording();
        hooks.unloadMain();
        hooks.startOver();
    });
}

void frm_HandOver::btn_Cancel_Click() { reject(); }

void HandOver(const ShiftHooks& hooks)
{
    ShowVerifyUser(hooks.owner);
    if (!IsUserAllowed(false))
        return;
    WriteLog(StaffLogin, "HandOver requested by " + Succeeded_User + ", drawer open");
    frm_HandOver window(hooks);
    window.Form_Load();
    window.exec();
}
