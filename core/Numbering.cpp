#include "Numbering.h"
#include "Db.h"
#include "Globals.h"
#include "Vb.h"
#include "VbError.h"

#include <algorithm>
#include <limits>
#include <map>

namespace {

QString journal() { return "tbl_counter" + QString::number(CounterNumber); }

// Read from the end of the column's index, so that inside a transaction the lock covers the last
// number and the gap after it: no other station can take or write a higher one meanwhile.
// selected: what the statement gives, the column itself unless the caller reads more at once.
QString lastOf(const QString& column, bool lock, const QString& selected = {})
{
    return "SELECT " + (selected.isEmpty() ? column : selected) + " FROM " + journal() + " WHERE " + column +
           " IS NOT NULL ORDER BY " + column + " DESC LIMIT 1" + (lock ? " FOR UPDATE" : "");
}

int32_t maxOf(Connection& connection, const QString& column, bool lock)
{
    Recordset rs = connection.Query(lastOf(column, lock));
    if (rs.EOF_())
        return 0;
    const QString value = rs.Fields(0).Value();
    return value.isEmpty() ? 0 : Vb::CLng(Vb::Val(value));
}

// The highest receipt number the journal's column holds, read from its definition: a higher number
// would be stored cut down to it, and two receipts would share it. Receipts were once 16-bit numbers,
// which a busy station uses up in about two years; a journal made by the database set-up holds far
// more, one brought from elsewhere may hold fewer.
int32_t receiptCeiling(Connection& connection)
{
    Recordset rs = connection.Query("SELECT DATA_TYPE, COLUMN_TYPE, NUMERIC_PRECISION, NUMERIC_SCALE FROM "
                                    "information_schema.COLUMNS WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME='" +
                                    journal() + "' AND COLUMN_NAME='c_receipt'");
    if (rs.EOF_())
        return SmallReceiptLimit;
    const QString type = rs["DATA_TYPE"].Value().toLower();
    const bool isUnsigned = rs["COLUMN_TYPE"].Value().contains("unsigned", Qt::CaseInsensitive);
    // The signed and unsigned limits of each whole-number type.
    static const std::map<QString, std::pair<int64_t, int64_t>> wholeNumbers = {
        {"tinyint", {127, 255}},
        {"smallint", {SmallReceiptLimit, 65535}},
        {"mediumint", {8388607, 16777215}},
        {"int", {std::numeric_limits<int32_t>::max(), std::numeric_limits<uint32_t>::max()}},
        {"bigint", {std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::max()}}};
    int64_t limit = SmallReceiptLimit;
    if (const auto found = wholeNumbers.find(type); found != wholeNumbers.end()) {
        limit = isUnsigned ? found->second.second : found->second.first;
    } else if (type == "decimal") {
        // As many nines as the column has digits before its point (ten already pass the 32-bit end).
        const long long digits = rs["NUMERIC_PRECISION"].Integer() - rs["NUMERIC_SCALE"].Integer();
        limit = 0;
        for (long long d = 0; d < std::min(digits, 10LL); ++d)
            limit = limit * 10 + 9;
    }
    return static_cast<int32_t>(std::min<int64_t>(limit, std::numeric_limits<int32_t>::max()));
}

// The receipt number the transaction's lines hold, 0 for none; the lines stay locked until the
// transaction that read them ends, so a numbering of them that still runs is waited for.
int32_t heldReceipt(Connection& connection, int32_t transaction)
{
    Recordset rs = connection.Query("SELECT c_receipt FROM " + journal() + " WHERE c_transaction=" +
                                    QString::number(transaction) + " LIMIT 1 FOR UPDATE");
    return rs.EOF_() ? 0 : static_cast<int32_t>(rs.Fields(0).Integer());
}

} // namespace

int32_t GetMaxTransaction() { return maxOf(*Db::Open(), "c_transaction", false); }

int32_t GetMaxTransaction(Connection& transaction) { return maxOf(transaction, "c_transaction", true); }

QString LockedLastTransactionQuery(const QString& selected) { return lastOf("c_transaction", true, selected); }

int32_t GetMaxReceipt() { return maxOf(*Db::Open(), "c_receipt", false); }

int32_t AssignReceiptNumber(Connection& transaction, int32_t transactionNumber)
{
    // A sale numbered already keeps its number, also when the reply to its numbering was lost.
    if (const int32_t held = heldReceipt(transaction, transactionNumber); held != 0)
        return held;
    const int32_t highest = maxOf(transaction, "c_receipt", true);
    const int32_t ceiling = receiptCeiling(transaction);
    if (highest >= ceiling)
        throw VbError(VbErrors::Overflow, "Pallowin",
                      "Receipt number " + QString::number(ceiling) +
                          " has been reached at this station; no further receipt can be numbered.");
    const int32_t receipt = highest + 1;
    transaction.Execute("UPDATE " + journal() + " SET c_receipt=" + QString::number(receipt) +
                        " WHERE c_transaction=" + QString::number(transactionNumber));
    return receipt;
}

int32_t AssignReceiptNumber(const QString& transaction)
{
    int32_t receipt = 0;
    const int32_t number = Vb::CLng(Vb::Val(transaction));
    Db::Transaction([&](Connection& c) { receipt = AssignReceiptNumber(c, number); });
    return receipt;
}

Db::Written FindReceipt(int32_t transaction, int32_t& receipt)
{
    return Db::FindOut([&](Connection& db) {
        receipt = heldReceipt(db, transaction);
        return receipt != 0;
    });
}

Money GetReceiptTotal(int receipt)
{
    Recordset rs = Db::Query("SELECT * FROM " + journal() + " WHERE c_receipt='" + QString::number(receipt) + "'");
    Money total;
    for (; !rs.EOF_(); rs.MoveNext())
        total += Money::Parse(rs["c_itemtotal"].Value());
    return total;
}
