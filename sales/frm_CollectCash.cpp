#include "frm_CollectCash.h"
#include "CashDrawer.h"

#include "ErrorDisplay.h"
#include "Prompter.h"
#include "StaffLog.h"
#include "Verification.h"

#include "Vb.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

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

frm_CollectCash::frm_CollectCash() : QDialog(nullptr)
{
    setObjectName("frm_CollectCash");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* prompt = new QLabel("Please enter the amount of cash COLLECTED from the drawer", this);
    txt_CashRegister = new QLineEdit("0.00", this);
    txt_CashRegister->setObjectName("txt_CashRegister");
    txt_CashRegister->setMaxLength(32);
    btn_OK = new QPushButton("OK", this);
    btn_OK->setObjectName("btn_OK");
    btn_Cancel = new QPushButton("Cancel", this);
    btn_Cancel->setObjectName("btn_Cancel");
    connect(btn_OK, &QPushButton::clicked, this, &frm_CollectCash::btn_OK_Click);
    connect(btn_Cancel, &QPushButton::clicked, this, &frm_CollectCash::btn_Cancel_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_OK);
    buttons->addWidget(btn_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(txt_CashRegister);
    layout->addLayout(buttons);
}

frm_CollectCash::~frm_CollectCash()
{
    if (instance == this)
        instance = nullptr;
}

void frm_CollectCash::Form_Load()
{
    Guarded("opening cash drawer", [this] {
        OpenCashDrawerA(MSComm1, Tag);
        txt_CashRegister->setFocus();
        txt_CashRegister->setCursorPosition(txt_CashRegister->text().size());
    });
}

void frm_CollectCash::btn_OK_Click()
{
    if (MsgBox("Are you sure that the values is correct?", Msg::OKCancel | Msg::Exclamation) == Msg::Cancel)
        return;
    MsgBox("Please close the cash register now!", Msg::Exclamation, "Important");
    WriteLog(Succeeded_User, "Cash Collected " + QString::number(Vb::Val(txt_CashRegister->text()), 'g', 15));
    close();
}

void frm_CollectCash::btn_Cancel_Click() { close(); }
