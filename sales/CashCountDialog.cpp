#include "CashCountDialog.h"
#include "SalesFormat.h"

#include "DialogButtons.h"
#include "ErrorDisplay.h"
#include "Prompter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CashCountDialog::CashCountDialog(const QString& prompt, QWidget* owner) : DrawerDialog(owner, Variant::TestFirst)
{
    auto* label = new QLabel(prompt, this);
    label->setObjectName("Label1");
    txt_CashRegister = new QLineEdit("0.00", this);
    txt_CashRegister->setObjectName("txt_CashRegister");
    txt_CashRegister->setMaxLength(32);
    const DialogButtons buttons = MakeOkCancel(this, "btn_");
    btn_OK = buttons.ok;
    btn_Cancel = buttons.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(txt_CashRegister);
    layout->addLayout(buttons.row);
}

void CashCountDialog::Form_Load()
{
    Guarded("opening cash drawer", [this] {
        OpenCashDrawer();
        txt_CashRegister->setFocus();
        txt_CashRegister->setCursorPosition(txt_CashRegister->text().size());
    });
}

std::optional<QString> CashCountDialog::ConfirmedAmount() const
{
    const CashEntry entry = ReadCashAmount(txt_CashRegister->text(), "the cash", "1250.50");
    if (!entry.amount) {
        MsgBox(entry.refusal, Msg::Exclamation);
        return std::nullopt;
    }
    if (MsgBox("Are you sure that the values is correct?", Msg::OKCancel | Msg::Exclamation) == Msg::Cancel)
        return std::nullopt;
    MsgBox("Please close the cash register now!", Msg::Exclamation, "Important");
    return PlainNumber(entry.amount->Format());
}
