#include "ShiftClose.h"
#include "SalesFormat.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "SqlQuote.h"
#include "StaffLog.h"
#include "StationRow.h"

namespace {

QString plain(Money amount) { return PlainNumber(amount.Format()); }

QString firstValue(Connection& db, const QString& statement)
{
    Recordset rs = db.Query(statement);
    return rs.EOF_() ? QString() : rs.Fields(0).Value();
}

} // namespace

QString ShownSales(const QString& money, const QString& cashFloat)
{
    return plain(Money::Parse(money) - Money::Parse(cashFloat));
}

QString PlainSales(const ShiftAmounts& amounts) { return plain(amounts.Sales()); }

ShiftEntry ReadShiftAmounts(const QString& money, const QString& cashFloat)
{
    const CashEntry m = ReadCashAmount(money, "the Total Money in Drawer", "1250.50");
    if (!m.amount)
        return {std::nullopt, m.refusal};
    const CashEntry f = ReadCashAmount(cashFloat, "the Cash Float", "200.00");
    if (!f.amount)
        return {std::nullopt, f.refusal};
    return {ShiftAmounts{*m.amount, *f.amount}, {}};
}

void RecordShift(const ShiftAmounts& amounts)
{
    const QString n = QString::number(CounterNumber);
    Db::Transaction([&](Connection& db) {
        WriteLog(db, StaffLogin, StaffLogin + " " + ShiftName + " Shift Ended ");
        SetCounterStaffShiftStatus(db, CounterNumber, 1);
        // The newest closing is held until this one is written, so that two closings of the station
        // cannot both start from it.
        QString previous =
            firstValue(db, "SELECT sh_datetime FROM tbl_shift" + n + " ORDER BY sh_datetime DESC LIMIT 1 FOR UPDATE");
        if (previous.isEmpty())
            previous = firstValue(db, "SELECT c_datetime FROM tbl_counter" + n + " ORDER BY c_datetime ASC LIMIT 1");
        const QString now = DbDateTime(Now());
        QString firstSale = firstValue(db, "SELECT c_datetime FROM tbl_counter" + n + " WHERE c_datetime >= '" +
                                               SqlQuote(previous) + "' AND c_datetime <= '" + now +
                                               "' ORDER BY c_datetime ASC LIMIT 1");
        if (firstSale.isEmpty())
            firstSale = now;
        QString stock;
        for (Recordset rs = db.Query("SELECT i_name, i_currentstock FROM tbl_item ORDER BY i_id"); !rs.EOF_();
             rs.MoveNext())
            stock += rs["i_name"].Value() + "=" + PlainNumber(rs["i_currentstock"].Value()) + "|";
        db.Execute("INSERT INTO tbl_shift" + n + " SET sh_sales=" + amounts.Sales().Sql() +
                   ", sh_totalmoney=" + amounts.money.Sql() + ", sh_datetime='" + now +
                   "', sh_float=" + amounts.cashFloat.Sql() + ", sh_first_transaction='" + SqlQuote(firstSale) +
                   "', sh_lastdatetime='" + SqlQuote(previous) + "', sh_shift='" + SqlQuote(ShiftName) +
                   "', sh_stocklog='" + SqlQuote(stock) + "', sh_staff='" + SqlQuote(StaffLogin) + "' ");
    });
}

QString ShiftNameAt(int hour, int openingHour) { return openingHour < hour && hour < 18 ? "morning" : "evening"; }
