#include "frm_Change.h"
#include "CartPanel.h"
#include "JournalLimits.h"
#include "PrinterChoice.h"
#include "Sale.h"
#include "SalesFormat.h"
#include "SalesHost.h"
#include "frm_PrintReceipt.h"

#include "SlotGrid.h"

#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"
#include "StaffLog.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The digits of the largest amount the journal holds: every sale it can record can be paid, and the
// amount typed stays within what the change is worked out from.
constexpr int MaxTillDigits = Journal::WholeDigits + Journal::Decimals;

QLineEdit* amountBox(const QString& name, const QFont& font, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignRight);
    box->setFont(font);
    return box;
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setMinimumHeight(40);
    return b;
}

} // namespace

frm_Change::frm_Change(CartPanel& cart, SalesHost& host)
    : DrawerDialog(host.Window(), Variant::Resend), m_cart(cart), m_host(host)
{
    setObjectName("frm_Change");
    setWindowTitle(AppTitle);
    QFont lucida("Lucida Sans Unicode");
    lucida.setPointSize(16);

    txt_Total = amountBox("txt_Total", lucida, this);
    txt_AmountPaid = amountBox("txt_AmountPaid", lucida, this);
    txt_Change = amountBox("txt_Change", lucida, this);
    txt_e = new QLineEdit(this);
    txt_e->setObjectName("txt_e");
    txt_e->setVisible(false);
    auto* label1 = new QLabel("Total", this);
    auto* label2 = new QLabel("Amount Paid", this);
    Label3 = new QLabel("Change", this);
    Label3->setObjectName("Label3");
    for (QLabel* l : {label1, label2, Label3})
        l->setFont(lucida);

    // The red band behind the change, shown once the sale is recorded.
    Shape_Change = new QFrame(this);
    Shape_Change->setObjectName("Shape_Change");
    Shape_Change->setAutoFillBackground(true);
    QPalette red = Shape_Change->palette();
    red.setColor(QPalette::Window, Qt::red);
    Shape_Change->setPalette(red);
    Shape_Change->setVisible(false);
    Shape_Change->lower();

    btn_OK = button("btn_OK", "OK", this);
    btn_PrintReceipt = button("btn_PrintReceipt", "Print Receipt?", this);
    btn_Cancel = button("btn_Cancel", "Cancel Transaction", this);
    btn_Close = button("btn_Close", "Close", this);
    btn_OK->setDefault(true);
    // Numbering a receipt before this sale is recorded would number the sale before it.
    btn_PrintReceipt->setEnabled(false);
    lbl_SmileAndThankYou = new QLabel("SMILE AND THANK YOU", this);
    lbl_SmileAndThankYou->setObjectName("lbl_SmileAndThankYou");
    lbl_SmileAndThankYou->setFont(QFont("MS Sans Serif", 12, QFont::Bold));
    lbl_SmileAndThankYou->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout;
    grid->addWidget(label1, 0, 0);
    grid->addWidget(txt_Total, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(txt_AmountPaid, 1, 1);
    grid->addWidget(Shape_Change, 2, 0, 1, 2);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(txt_Change, 2, 1);
    auto* buttons = new QGridLayout;
    buttons->addWidget(btn_OK, 0, 0);
    buttons->addWidget(btn_PrintReceipt, 0, 1);
    buttons->addWidget(btn_Close, 1, 0);
    buttons->addWidget(btn_Cancel, 1, 1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(grid);
    all->addLayout(buttons);
    all->addWidget(lbl_SmileAndThankYou);

    connect(btn_OK, &QPushButton::clicked, this, &frm_Change::btn_OK_Click);
    connect(btn_PrintReceipt, &QPushButton::clicked, this, &frm_Change::btn_PrintReceipt_Click);
    connect(btn_Cancel, &QPushButton::clicked, this, &frm_Change::btn_Cancel_Click);
    connect(btn_Close, &QPushButton::clicked, this, &frm_Change::btn_Close_Click);
    connect(txt_e, &QLineEdit::textChanged, this, &frm_Change::txt_e_Change);

    // Every key typed while the dialog is open reaches the amount entry first.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    txt_Total->setText(m_cart.Contents().TotalText());
}

bool frm_Change::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backspace) {
            Form_KeyPress(8);
            return true;
        }
        if (key->text().size() == 1 && key->text()[0] >= '0' && key->text()[0] <= '9') {
            Form_KeyPress(key->text()[0].unicode());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frm_Change::Form_KeyPress(int KeyAscii)
{
    if (KeyAscii >= '0' && KeyAscii <= '9') {
        if (txt_e->text().size() < MaxTillDigits)
            txt_e->setText(txt_e->text() + QChar(KeyAscii));
    } else if (KeyAscii == 8 && !txt_e->text().isEmpty()) {
        txt_e->setText(txt_e->text().chopped(1));
    }
}

void frm_Change::txt_e_Change()
{
    const Money paid = TillDigitsAmount(txt_e->text()).value_or(Money());
    txt_AmountPaid->setText(TillAmount(paid));
    txt_Change->setText(TillAmount(paid - m_cart.Contents().Total()));
}

void frm_Change::btn_OK_Click()
{
    // Told as it is, also where no amount the till takes could pay it.
    if (const QString refusal = Journal::RefusalOf(m_cart.Contents().Lines()); !refusal.isEmpty()) {
        MsgBox(refusal, Msg::Critical);
        return;
    }
    if (txt_Change->text().isEmpty() || Money::Parse(txt_Change->text()) < Money()) {
        MsgBox("Incorrect amount given!", Msg::Critical);
        return;
    }
    // A sale whose recording was lost on its way is looked up before anything is recorded again.
    if (m_unconfirmed && settleUnconfirmed() != Db::Written::No)
        return;
    try {
        CurrentTask = "recording the sale";
        m_transaction = RecordSale(m_cart.Contents().Lines(), StaffLogin);
    } catch (const SaleRefused& refused) {
        MsgBox(refused.Message(), Msg::Critical);
        return;
    } catch (const SaleUnconfirmed& lost) {
        m_unconfirmed = lost.transaction;
        if (settleUnconfirmed() == Db::Written::No)
            MsgBox("The connection to the database was lost while the sale was being recorded. It was not "
                   "recorded: nothing was written. Press OK to record it again.",
                   Msg::Critical);
        return;
    } catch (const VbError& e) {
        if (!Db::IsLockConflict(e))
            ShowErrorDisplay(e);
        else
            MsgBox("Another station's transaction, or one this station lost, still holds rows of this sale (a court "
                   "hour, a shop item or the station's journal) and kept them longer than the sale can wait. "
                   "Nothing was recorded: press OK to try again.",
                   Msg::Critical);
        return;
    }
    saleRecorded();
}

Db::Written frm_Change::settleUnconfirmed()
{
    const Db::Written outcome = FindSale(*m_unconfirmed);
    if (outcome == Db::Written::Unknown || outcome == Db::Written::Held) {
        MsgBox(QString("The connection to the database was lost while the sale was being recorded, and whether it "
                       "was recorded cannot be told ") +
                   (outcome == Db::Written::Unknown
                        ? "while the database does not answer. The payment stays open: press OK once the database is "
                          "back"
                        : "yet: another transaction still holds the sale's rows. The payment stays open: press OK "
                          "again in a moment") +
                   ", and the sale is looked up before anything is recorded again.",
               Msg::Critical);
        return outcome;
    }
    const int32_t transaction = *m_unconfirmed;
    m_unconfirmed.reset();
    if (outcome == Db::Written::Yes) {
        m_transaction = CurrentTransaction = transaction;
        MsgBox("The database did not confirm the sale, but it was recorded as transaction " +
                   QString::number(transaction) + ".",
               Msg::Information);
        saleRecorded();
    }
    return outcome;
}

void frm_Change::saleRecorded()
{
    m_recorded = true;
    if (m_transaction != 0)
        m_host.Grid().RefreshView();
    WriteLog(StaffLogin, "Sales made, drawer open");

    btn_OK->setDefault(false);
    btn_OK->setEnabled(false);
    btn_Cancel->setEnabled(false);
    btn_PrintReceipt->setEnabled(m_transaction != 0);
    btn_Close->setDefault(true);
    btn_Close->setFocus();
    Shape_Change->setVisible(true);
    Label3->setStyleSheet("color: white");
    m_host.SetLastChange(txt_Change->text());
    // The sale is recorded whatever the drawer does.
    Guarded("opening cash drawer", [this] { OpenCashDrawer(); });
}

void frm_Change::btn_PrintReceipt_Click()
{
    const auto printer = CurrentPrinterChoice().Choose(this);
    if (!printer)
        return;
    Guarded("printing the receipt", [&] {
        if (!ReceiptPrinted) {
            if (!NumberCurrentReceipt(m_transaction))
                return;
            ReceiptPrinted = true;
        }
        WriteLog(StaffLogin, "Receipt Printed " + QString::number(CurrentReceipt));
        PrintStationReceipt(*printer, CurrentReceipt);
    });
}

void frm_Change::btn_Cancel_Click() { reject(); }

void frm_Change::btn_Close_Click()
{
    QDialog::accept();
    m_cart.btn_Reset_Click();
}

void frm_Change::reject()
{
    // Leaving with the cart kept is safe only once the lost sale is known not to be recorded.
    if (m_unconfirmed && settleUnconfirmed() != Db::Written::No && !m_recorded)
        return;
    if (m_recorded)
        btn_Close_Click();
    else
        QDialog::reject();
}
