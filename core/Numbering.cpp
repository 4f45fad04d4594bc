#include "Numbering.h"
#include "Db.h"
#include "Globals.h"
#include "Vb.h"
#include "VbError.h"

namespace {

QString journal() { return "tbl_counter" + QString::number(CounterNumber); }

int32_t maxOf(Connection& connection, const QString& column, bool lock)
{
    // Read from the end of the column's index, so that inside a transaction the lock covers the
    // last number and the gap after it: no other station can take or write a higher one meanwhile.
    Recordset rs = connection.Query("SELECT " + column + " FROM " + journal() + " WHERE " + column +
                                    " IS NOT NULL ORDER BY " + column + " DESC LIMIT 1" +
                                    (lock ? " FOR UPDATE" : ""));
    if (rs.EOF_())
        return 0;
    const QString value = rs.Fields(0).Value();
    return value.isEmpty() ? 0 : Vb::CLng(Vb::Val(value));
}

} // namespace

int32_t GetMaxTransaction() { return maxOf(*Db::Open(), "c_transaction", false); }

int32_t GetMaxTransaction(Connection& transaction) { return maxOf(transaction, "c_transaction", true); }

int32_t GetMaxReceipt() { return maxOf(*Db::Open(), "c_receipt", false); }

int16_t AssignReceiptNumber(Connection& transaction, int32_t transactionNumber)
{
    const int32_t highest = maxOf(transaction, "c_receipt", true);
    if (highest >= ReceiptLimit)
        throw VbError(VbErrors::Overflow, "Pallowin",
                      "Receipt number " + QString::number(ReceiptLimit) +
                          " has been reached at this station; no further receipt can be numbered.");
    const auto receipt = static_cast<int16_t>(highest + 1);
    transaction.Execute("UPDATE " + journal() + " SET c_receipt=" + QString::number(receipt) +
                        " WHERE c_transaction=" + QString::number(transactionNumber));
    return receipt;
}

int16_t AssignReceiptNumber(const QString& transaction)
{
    int16_t receipt = 0;
    const int32_t number = Vb::CLng(Vb::Val(transaction));
    Db::Transaction([&](Connection& c) { receipt = AssignReceiptNumber(c, number); });
    return receipt;
}

Money GetReceiptTotal(int receipt)
{
    Recordset rs = Db::Query("SELECT * FROM " + journal() + " WHERE c_receipt='" + QString::number(receipt) + "'");
    Money total;
    for (; !rs.EOF_(); rs.MoveNext())
        total += Money::Parse(rs["c_itemtotal"].Value());
    return total;
}
