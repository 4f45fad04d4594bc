#pragma once

#include "CartLine.h"

#include <QString>
#include <cstdint>
#include <stdexcept>
#include <vector>

// The sale being finished and its receipt: the transaction number of the last sale or reprint and
// the receipt number given to it.
extern int32_t CurrentTransaction;
extern int16_t CurrentReceipt;

// A line of the cart can no longer be sold (its slot was cancelled or paid meanwhile, its item
// was removed); what() is the message for the cashier.
class SaleRefused : public std::runtime_error {
public:
    explicit SaleRefused(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromStdString(what()); }
};

// Records the lines as one sale of this station under the next transaction number, in one
// database transaction: every line is checked first against what the database holds now, then
// the journal rows are written, the court hours marked paid, an hour added to the booker's
// register row and the stock of sold items lowered. Anything that fails leaves nothing written.
// Throws SaleRefused or the database's VbError; returns the transaction number, or 0 for a cart
// without lines, which writes nothing.
int32_t RecordSale(const std::vector<CartLine>& lines, const QString& staff);

// Whether the station's journal holds the transaction.
bool HasTransaction(int32_t transaction);
// The receipt number of a recorded transaction; one that never had a receipt is given the next
// number, so that two stations reprinting it at once still give it only one.
int16_t ReceiptOfTransaction(int32_t transaction);
