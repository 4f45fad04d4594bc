#pragma once

#include <QString>
#include <QStringList>

class SlotGrid;

// Invoices for booked, unpaid court hours: one number shared by all stations, stored in b_invoice
// of every slot it covers and kept in tbl_invoicecounter, so that no number is given twice, also
// when an invoiced slot is cancelled. Numbers run from 1 to 32767.
constexpr int InvoiceLimit = 32767;

// The last invoice number given by any station, 0 before the first.
int GetMaxInvoiceNumber();

// Gives the slots of court at date and the times one new invoice number and logs "Invoice Printed
// N", in one transaction that only writes: each slot must still hold the booker the grid showed
// (shownNames, one per time) and be unpaid, and the number is the one after the last any station
// gave, which a second station then waits for. A refusal (shown to the user) or the end of
// the numbers leaves nothing numbered or logged. When the reply to its commit is lost, the slots are
// looked up and the cashier told what the look-up found; slots that the look-up could not tell about
// are looked up again when they are invoiced next, and keep the number they hold. Returns the number
// given, 0 when none was.
int UpdateBookingWithInvoice(const QString& date, int court, const QStringList& times,
                             const QStringList& shownNames);

// The slot menu's "Print Invoice": every selected row of the grid must hold an unpaid booking of
// its own; then the printer is chosen and the invoice titled "INVOICE" is filled, which asks the
// cashier about rate classes and extra time, all before the slots are numbered, so that no other
// station waits on a question; the numbered invoice is printed last. A refusal, a cancelled
// printer dialog or the end of the numbers numbers nothing; a printer that fails after the
// numbering is told with the number. courtName is the grid's court as the lines show it. Returns
// the number given, 0 when none was. Database failures throw.
int PrintInvoice(SlotGrid& grid, const QString& courtName);
