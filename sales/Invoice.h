#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class SlotGrid;

// Invoices for booked, unpaid court hours: one number shared by all stations, stored in b_invoice
// of every slot it covers. Numbers run from 1 to 32767.
constexpr int InvoiceLimit = 32767;

// The highest invoice number of all stations, 0 when no slot has one.
int GetMaxInvoiceNumber();

// Gives the slots of court at date and the times one new invoice number, in one transaction that
// judges each slot as it stands now and takes the number after the highest of all stations, which
// a second station then waits for. "Invoice Printed N" is logged in it, and print is called before
// it ends: a refusal (shown to the user), the end of the numbers or a print that returns false
// leaves nothing numbered or logged. Returns the number given, 0 when none was.
int UpdateBookingWithInvoice(const QString& date, int court, const QStringList& times,
                             const std::function<bool(int number)>& print);

// The slot menu's "Print Invoice": every selected row of the grid must hold an unpaid booking of
// its own; then the printer is chosen, and in one transaction the slots are judged again as they
// stand now, given the next invoice number, "Invoice Printed N" is logged and the invoice titled
// "INVOICE" is printed. A refusal, a cancelled printer dialog, the end of the numbers or a failed
// print leaves nothing numbered or logged. courtName is the grid's court as the lines show it.
// Returns the number given, 0 when none was. Database failures throw.
int PrintInvoice(SlotGrid& grid, const QString& courtName);
