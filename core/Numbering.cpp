#include "Numbering.h"
#include "Db.h"
#include "Globals.h"
#include "Vb.h"
#include "VbError.h"

namespace {

QString journal() { return "tbl_counter" + QString::number(CounterNumber); }

int32_t maxOf(const QString& column)
{
    Recordset rs = Db::Query("SELECT MAX(" + column + ") FROM " + journal());
    if (rs.EOF_())
        return 0;
    const QString value = rs["MAX(" + column + ")"].Value();
    return value.isEmpty() ? 0 : Vb::CLng(Vb::Val(value));
}

} // namespace

int32_t GetMaxTransaction() { return maxOf("c_transaction"); }

int32_t GetMaxReceipt() { return maxOf("c_receipt"); }

int16_t AssignReceiptNumber(const QString& transaction)
{
    auto connection = Db::Open();
    const int32_t highest = GetMaxReceipt();
    if (highest >= ReceiptLimit)
        throw VbError(VbErrors::Overflow, "Pallowin",
                      "Receipt number " + QString::number(ReceiptLimit) +
                          " has been reached at this station; no further receipt can be numbered.");
    const auto receipt = static_cast<int16_t>(highest + 1);
    connection->Execute("UPDATE " + journal() + " SET c_receipt=" + QString::number(receipt) +
                        " WHERE c_transaction=" + QString::number(static_cast<long long>(Vb::Val(transaction))));
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
