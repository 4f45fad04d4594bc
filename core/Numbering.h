#pragma once

#include "Db.h"
#include "Money.h"

#include <QString>
#include <cstdint>

class Connection;

// Transactions and receipts are numbered per station in its own journal tbl_counter<n>.

// The station's highest transaction number, 0 for an empty journal.
int32_t GetMaxTransaction();
// The same inside a transaction: the journal's last number stays locked until it ends, so a second
// sale of the station waits and takes the next number.
int32_t GetMaxTransaction(Connection& transaction);
// The statement of that locked read, for a caller that reads more at once: it selects the given list,
// in which c_transaction stands where the caller reads it.
QString LockedLastTransactionQuery(const QString& selected);
// The station's highest receipt number, 0 when no line has one.
int32_t GetMaxReceipt();
// The receipt number of the transaction: the one its lines hold, or else the next, given to every
// line of it, decided inside one database transaction, so that pressing again after a lost reply
// prints the number given then, and two stations reprinting at once give only one. Receipt numbers go
// as far as the journal's receipt column holds them, past 32767 or short of it: at its limit it
// throws a VbError with a clear text and writes nothing.
int32_t AssignReceiptNumber(const QString& transaction);
// The same inside a transaction, which holds the transaction's lines and the highest receipt number
// until it ends.
int32_t AssignReceiptNumber(Connection& transaction, int32_t transactionNumber);
// Whether the transaction holds a receipt number after the reply to its numbering was lost, and
// which; a numbering of the lost connection that the server still runs is waited for.
Db::Written FindReceipt(int32_t transaction, int32_t& receipt);
// The sum of the line totals of a receipt, 0 when no line has that number.
Money GetReceiptTotal(int receipt);

// The end of the 16-bit receipt numbers, the limit taken when the journal's column cannot be read.
constexpr int32_t SmallReceiptLimit = 32767;
