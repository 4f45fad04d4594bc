#include "frm_ShiftEnd.h"
#include "ShiftClose.h"

#include "EndProgram.h"
#include "Globals.h"
#include "ErrorDisplay.h"
#include "Prompter.h"
#include "StaffLog.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QLineEdit* amountBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(20);
    box->setAlignment(Qt::AlignRight);
    return box;
}

} // namespace

frm_ShiftEnd::frm_ShiftEnd(const ShiftHooks& hooks) : DrawerDialog(hooks.owner, Variant::Resend), m_hooks(hooks)
{
    setObjectName("frm_ShiftEnd");
    setWindowTitle("End of Shift");
    txt_MoneyInDrawer = amountBox(this, "txt_MoneyInDrawer");
    txt_CashFloat = amountBox(this, "txt_CashFloat");
    txt_Sales = amountBox(this, "txt_Sales");
    txt_Sales->setReadOnly(true);
    btn_OK = new QPushButton("OK", this);
    btn_OK->setObjectName("btn_OK");
    btn_Cancel = new QPushButton("Cancel", this);
    btn_Cancel->setObjectName("btn_Cancel");
    btn_PrintReport = new QPushButton("Print Report", this);
    btn_PrintReport->setObjectName("btn_PrintReport");
    btn_PrintReport->setEnabled(false);

    auto* amounts = new QGridLayout;
    amounts->addWidget(label(this, "Label3", "Total Money in Drawer"), 0, 0);
    amounts->addWidget(label(this, "Label2", "Cash Float"), 0, 2);
    amounts->addWidget(label(this, "Label1", "Sales"), 0, 4);
    amounts->addWidget(txt_MoneyInDrawer, 1, 0);
    amounts->addWidget(label(this, "Label4", "-"), 1, 1);
    amounts->addWidget(txt_CashFloat, 1, 2);
    amounts->addWidget(label(this, "Label5", "="), 1, 3);
    amounts->addWidget(txt_Sales, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn_PrintReport);
    buttons->addStretch();
    buttons->addWidget(btn_OK);
    buttons->addWidget(btn_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label(this, "Label6", "Please key in the value of money in the cash drawer, and press OK"));
    layout->addLayout(amounts);
    layout->addLayout(buttons);

    connect(txt_MoneyInDrawer, &QLineEdit::textChanged, this, &frm_ShiftEnd::txt_MoneyInDrawer_Change);
    connect(txt_CashFloat, &QLineEdit::textChanged, this, &frm_ShiftEnd::txt_CashFloat_Change);
    connect(btn_OK, &QPushButton::clicked, this, &frm_ShiftEnd::btn_OK_Click);
    connect(btn_Cancel, &QPushButton::clicked, this, &frm_ShiftEnd::btn_Cancel_Click);
    connect(btn_PrintReport, &QPushButton::clicked, this, &frm_ShiftEnd::btn_PrintReport_Click);
}

void frm_ShiftEnd::Form_Load()
{
    Guarded("opening cash drawer", [this] {
        OpenCashDrawer();
        setWindowTitle("End of " + ShiftName + " shift");
    });
}

void frm_ShiftEnd::txt_MoneyInDrawer_Change()
{
    if (!txt_MoneyInDrawer->text().isEmpty() && !txt_CashFloat->text().isEmpty())
        txt_Sales->setText(ShownSales(txt_MoneyInDrawer->text(), txt_CashFloat->text()));
}

void frm_ShiftEnd::txt_CashFloat_Change() { txt_MoneyInDrawer_Change(); }

void frm_ShiftEnd::btn_OK_Click()
{
    Guarded("recording the shift", [this] {
        const ShiftEntry entry = ReadShiftAmounts(txt_MoneyInDrawer->text(), txt_CashFloat->text());
        if (!entry.amounts) {
            MsgBox(entry.refusal, Msg::Exclamation);
            return;
        }
        if (MsgBox("Are you sure that the values is correct?", Msg::OKCancel | Msg::Exclamation) == Msg::Cancel)
            return;
        RecordShift(*entry.amounts);
        // What was recorded is what the window shows.
        txt_Sales->setText(PlainSales(*entry.amounts));
        btn_OK->setEnabled(false);
        btn_Cancel->setText("Close");
        btn_PrintReport->setEnabled(true);
    });
}

void frm_ShiftEnd::btn_PrintReport_Click()
{
    const QUrl page("http://" + WebServerHost + "/report/counter.asp?counter=" + QString::number(CounterNumber));
    if (!QDesktopServices::openUrl(page))
        MsgBox("The counter report " + page.toString() + " could not be opened: no web browser could be started.",
               Msg::Exclamation);
}

void frm_ShiftEnd::btn_Cancel_Click()
{
    if (btn_Cancel->text() != "Close") {
        reject();
        return;
    }
    WriteLog(StaffLogin, "log out");
    accept();
    // The main window owns this window and the handler that opened it: it is taken down only once
    // they have returned to the event loop.
    QTimer::singleShot(0, qApp, [hooks = m_hooks] {
        hooks.stopVideoRecording();
        hooks.unloadMain();
        EndProgram();
    });
}

void EndShift(const ShiftHooks& hooks, const QString& shift)
{
    ShiftName = shift;
    const QString article = shift == "evening" ? "an " : "a ";
    if (MsgBox("Are you REALLY sure that you are closing " + article + shift.toUpper() + " Shift?", Msg::YesNo) !=
        Msg::Yes)
        return;
    frm_ShiftEnd window(hooks);
    window.Form_Load();
    window.exec();
}
