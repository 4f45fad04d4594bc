#pragma once

#include "Money.h"

#include <QString>
#include <cstdint>

// Transactions and receipts are numbered per station in its own journal tbl_counter<n>.

// The station's highest transaction number, 0 for an empty journal.
int32_t GetMaxTransaction();
// The station's highest receipt number, 0 when no line has one.
int32_t GetMaxReceipt();
// Gives every line of the transaction the next receipt number and returns it. Receipt numbers
// end at 32767: at the limit it throws a VbError with a clear text and writes nothing.
int16_t AssignReceiptNumber(const QString& transaction);
// The sum of the line totals of a receipt, 0 when no line has that number.
Money GetReceiptTotal(int receipt);

constexpr int32_t ReceiptLimit = 32767;
