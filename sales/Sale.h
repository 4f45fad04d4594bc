#pragma once

#include "CartLine.h"

#include "Db.h"
#include "VbError.h"

#include <QString>
#include <cstdint>
#include <stdexcept>
#include <vector>

// The sale being finished and its receipt: the transaction number of the last sale or reprint and
// the receipt number given to it.
extern int32_t CurrentTransaction;
extern int32_t CurrentReceipt;

class Recordset;

// The columns of tbl_booking a line's SlotBooking is read from, in this order: the payment that makes
// the line and the sale that checks it read them alike.
extern const QString SlotBookingColumns;
// The booking in the row's fields from position first on, in the order of SlotBookingColumns.
SlotBooking ReadSlotBooking(const Recordset& rs, int first);

// A line of the cart can no longer be sold (its slot was cancelled or paid meanwhile, its item
// was removed) or the journal cannot hold a line or the total; what() is the message for the cashier.
class SaleRefused : public std::runtime_error {
public:
    explicit SaleRefused(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromStdString(what()); }
};

// The connection was lost while the sale under transaction was being committed: whether it was
// recorded must be found out (FindSale) before it is recorded again.
class SaleUnconfirmed : public VbError {
public:
    SaleUnconfirmed(const VbError& error, int32_t transaction) : VbError(error), transaction(transaction) {}
    int32_t transaction;
};

// Records the lines as one sale of this station under the next transaction number, in one
// database transaction: every line is checked first against what the database holds now, then
// the journal rows are written, the court hours marked paid, an hour added to the booker's
// register row and the stock of sold items lowered. Anything that fails leaves nothing written; a
// line or total that the journal cannot hold exactly is refused before the database is asked.
// Throws SaleRefused, SaleUnconfirmed or the database's VbError; returns the transaction number,
// or 0 for a cart without lines, which writes nothing.
int32_t RecordSale(const std::vector<CartLine>& lines, const QString& staff);

// Whether the sale tried under transaction is in the station's journal. A transaction of the lost
// connection that the server still runs holds the journal until it ends, and is waited for.
Db::Written FindSale(int32_t transaction);

// Whether the station's journal holds the transaction.
bool HasTransaction(int32_t transaction);
// Makes the recorded transaction the current one and gives CurrentReceipt its receipt number
// (AssignReceiptNumber). After a lost reply to the numbering the number is looked up; false, with the
// cashier told whether it was given, when it cannot be printed now.
bool NumberCurrentReceipt(int32_t transaction);
