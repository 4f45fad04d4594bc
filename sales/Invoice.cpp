#include "Invoice.h"
#include "PrinterChoice.h"
#include "SlotPayment.h"
#include "frm_PrintReceipt.h"

#include "Courts.h"
#include "SlotAudit.h"
#include "SlotChange.h"
#include "SlotGrid.h"

#include "Db.h"
#include "Globals.h"
#include "Prompter.h"
#include "StaffLog.h"

#include "Vb.h"

#include <QPrinter>

namespace {

QString refusalOfName(const QString& name)
{
    if (name.isEmpty())
        return "You cannot print invoice for empty slot";
    if (name.contains(ExtraTimeMark))
        return "The slot is an extra time of previous slot, use the previous slot to print for an invoice";
    if (name.contains(PartiallySharedMark, Qt::CaseInsensitive))
        return "The slot is booked by one or more individual slots";
    if (name.contains(SharedBookingMark, Qt::CaseInsensitive))
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

int highestNumber(Connection& db, bool lock)
{
    Recordset rs = db.Query(QString("SELECT MAX(b_invoice) FROM tbl_booking") + (lock ? " FOR UPDATE" : ""));
    const QString value = rs.EOF_() ? QString() : rs.Fields(0).Value();
    return value.isEmpty() ? 0 : Vb::CLng(Vb::Val(value));
}

} // namespace

int GetMaxInvoiceNumber() { return highestNumber(*Db::Open(), false); }

int UpdateBookingWithInvoice(const QString& date, int court, const QStringList& times,
                             const QStringList& shownNames)
{
    int number = 0;
    const bool committed = RunSlotChange([&](Connection& db) {
        const int highest = highestNumber(db, true);
        if (highest >= InvoiceLimit)
            throw SlotRefusal{"Invoice number " + QString::number(InvoiceLimit) +
                              " has been reached; no further invoice can be numbered."};
        number = highest + 1;
        for (qsizetype i = 0; i < times.size(); ++i) {
            const QString& time = times[i];
            const std::optional<SlotRow> own = LockSlotRow(db, date, time, court);
            const QString now = own ? own->bookerName : QString();
            if (now != shownNames.value(i))
                throw SlotRefusal{time + ": " + SlotChangedMessage(now)};
            if (const QString refusal = refusalOfName(now); !refusal.isEmpty())
                throw SlotRefusal{time + ": " + refusal};
            if (own->paid > Money())
                throw SlotRefusal{time + ": The slot already paid"};
            db.Execute("UPDATE tbl_booking SET b_invoice=" + QString::number(number) + SlotWhere(date, time, court));
        }
        WriteLog(db, StaffLogin, "Invoice Printed " + QString::number(number));
    });
    return committed ? number : 0;
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
