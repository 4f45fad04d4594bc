#include "Invoice.h"
#include "PrinterChoice.h"
#include "frm_PrintReceipt.h"

#include "Courts.h"
#include "SlotAudit.h"
#include "SlotChange.h"
#include "SlotGrid.h"

#include "Db.h"
#include "Globals.h"
#include "Prompter.h"
#include "StaffLog.h"

#include <QPrinter>

#include <optional>

namespace {

QString refusalOfName(const QString& name)
{
    if (name.isEmpty())
        return "You cannot print invoice for empty slot";
    if (name.contains(ExtraTimeMark))
        return "The slot is an extra time of previous slot, use the previous slot to print for an invoice";
    if (HoldsMark(name, PartiallySharedMark))
        return "The slot is booked by one or more individual slots";
    if (HoldsMark(name, SharedBookingMark))
        return "Please print via master slots";
    return {};
}

// The first refusal among the selected rows as the grid shows them.
QString refusalOf(const SlotGrid& grid)
{
    bool any = false;
    for (int row = 1; row <= grid.RowCount(); ++row) {
        if (!grid.IsSelected(row))
            continue;
        any = true;
        const QString name = grid.NameCell(row);
        if (!name.isEmpty() && !grid.PaidCell(row).isEmpty())
            return "The slot already paid";
        if (QString refusal = refusalOfName(name); !refusal.isEmpty())
            return refusal;
    }
    return any ? QString() : "You cannot print invoice for empty slot";
}

// The receipt form titled "INVOICE" for as long as it is filled and printed.
struct InvoiceTitle {
    InvoiceTitle() { form.Label2 = "INVOICE"; }
    ~InvoiceTitle() { form.Label2 = "OFFICIAL RECEIPT"; }
    frm_PrintReceipt& form = frm_PrintReceipt::Default();
};

// The last number given: the counter's, which a cancelled slot never lowers, or the highest a slot
// holds where a slot holds a higher one (numbers given before the counter was kept).
int lastNumber(Connection& db)
{
    Recordset rs = db.Query("SELECT GREATEST(COALESCE((SELECT ic_last FROM tbl_invoicecounter WHERE ic_id=1), 0), "
                            "COALESCE((SELECT MAX(b_invoice) FROM tbl_booking), 0))");
    return static_cast<int>(rs.Fields(0).Integer());
}

// An invoice whose numbering's reply was lost, and which could not be looked up then: the number its
// slots may hold, and where they are. An invoice of the same slots looks them up before numbering.
struct LostInvoice {
    int number;
    QString date;
    int court;
    QStringList times;
};
std::optional<LostInvoice> lostInvoice;

// Whether every slot of the invoice holds its number; they stay locked until the transaction ends.
bool holdsNumber(Connection& db, const LostInvoice& invoice)
{
    for (const QString& time : invoice.times) {
        const std::optional<SlotRow> own = LockSlotRow(db, invoice.date, time, invoice.court);
        if (!own || own->invoice != invoice.number)
            return false;
    }
    return true;
}

// Looks up the slots of an invoice whose numbering's reply was lost and tells the cashier what is
// not so plain as an invoice printed with its number; returns the number when they hold it.
int settleLost(const LostInvoice& invoice)
{
    const Db::Written outcome = Db::FindOut([&](Connection& db) { return holdsNumber(db, invoice); });
    const QString lost = "The connection to the database was lost while the slots were given invoice number " +
                         QString::number(invoice.number);
    if (outcome == Db::Written::Unknown || outcome == Db::Written::Held) {
        lostInvoice = invoice;
        MsgBox(lost + ", and whether they were given it cannot be told " + Db::UntoldReason(outcome, "them") +
                   ". Nothing was printed: print the invoice of the same slots again once the database can tell; if "
                   "they hold number " +
                   QString::number(invoice.number) + ", it is printed and not given again.",
               Msg::Critical);
        return 0;
    }
    lostInvoice.reset();
    if (outcome == Db::Written::Yes)
        return invoice.number;
    MsgBox(lost + ". They were not given it: nothing was written or printed. Please print the invoice again.",
           Msg::Critical);
    return 0;
}

} // namespace

int GetMaxInvoiceNumber() { return lastNumber(*Db::Open()); }

int UpdateBookingWithInvoice(const QString& date, int court, const QStringList& times,
                             const QStringList& shownNames)
{
    const bool again = lostInvoice && lostInvoice->date == date && lostInvoice->court == court &&
                       lostInvoice->times == times;
    int number = 0;
    try {
        const bool committed = RunSlotChange([&](Connection& db) {
            // The counter's row is this station's until the numbering ends; a second station waits for it
            // and then reads the number given here.
            db.Execute("INSERT INTO tbl_invoicecounter (ic_id) VALUES (1) ON DUPLICATE KEY UPDATE ic_last=ic_last");
            bool holdLost = again;
            for (qsizetype i = 0; i < times.size(); ++i) {
                const QString& time = times[i];
                const std::optional<SlotRow> own = LockSlotRow(db, date, time, court);
                const QString now = own ? own->bookerName : QString();
                if (now != shownNames.value(i))
                    throw SlotRefusal{time + ": " + ChangedSinceShown(now).message};
                if (const QString refusal = refusalOfName(now); !refusal.isEmpty())
                    throw SlotRefusal{time + ": " + refusal};
                if (own->paid > Money())
                    throw SlotRefusal{time + ": The slot already paid"};
                holdLost = holdLost && own->invoice == lostInvoice->number;
            }
            // Numbered and logged by the press whose reply was lost: printed now, not numbered again.
            if (holdLost) {
                number = lostInvoice->number;
                return;
            }
            const int highest = lastNumber(db);
            if (highest >= InvoiceLimit)
                throw SlotRefusal{"Invoice number " + QString::number(InvoiceLimit) +
                                  " has been reached; no further invoice can be numbered."};
            number = highest + 1;
            for (const QString& time : times)
                db.Execute("UPDATE tbl_booking SET b_invoice=" + QString::number(number) +
                           SlotWhere(date, time, court));
            db.Execute("UPDATE tbl_invoicecounter SET ic_last=" + QString::number(number) + " WHERE ic_id=1");
            WriteLog(db, StaffLogin, "Invoice Printed " + QString::number(number));
        });
        if (!committed)
            return 0;
        if (again)
            lostInvoice.reset();
        return number;
    } catch (const Db::CommitUnconfirmed&) {
        return settleLost({number, date, court, times});
    }
}

int PrintInvoice(SlotGrid& grid, const QString& courtName)
{
    if (const QString refusal = refusalOf(grid); !refusal.isEmpty()) {
        MsgBox(refusal, Msg::Critical);
        return 0;
    }
    const std::optional<int> court = ChosenCourt(grid.CourtText());
    if (!court)
        return 0;
    const std::unique_ptr<QPrinter> printer = CurrentPrinterChoice().Choose(grid.Owner());
    if (!printer)
        return 0;
    QStringList times, names;
    for (int row = 1; row <= grid.RowCount(); ++row)
        if (grid.IsSelected(row)) {
            times << grid.RowTime(row);
            names << grid.NameCell(row);
        }
    const InvoiceTitle title;
    title.form.GenerateInvoiceContent(grid, courtName);
    const int number = UpdateBookingWithInvoice(grid.GridDate(), *court, times, names);
    if (number == 0)
        return 0;
    title.form.SetNumber(number);
    if (!title.form.PrintForm(*printer))
        MsgBox("Invoice " + QString::number(number) +
                   " was given to the slots, but it could not be printed: the printer cannot be written to. Print "
                   "Invoice again gives them a new number.",
               Msg::Critical);
    return number;
}
