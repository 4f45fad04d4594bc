#include "StaffLog.h"
#include "Clock.h"
#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "SqlQuote.h"

namespace {

void insertLogRow(Connection& connection, const QString& staffName, const QString& actionText)
{
    connection.Execute("INSERT INTO tbl_log SET log_counter= " + QString::number(CounterNumber) + ", log_staffname='" +
                       SqlQuote(staffName) + "', log_datetime='" + DbDateTime(Now()) + "', log_do='" +
                       SqlQuote(actionText) + "'");
}

} // namespace

void WriteLog(const QString& staffName, const QString& actionText)
{
    const RestoreTask callerTask;
    try {
        auto connection = Db::Open();
        CurrentTask = "updating log";
        insertLogRow(*connection, staffName, actionText);
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}

void WriteLog(Connection& transaction, const QString& staffName, const QString& actionText)
{
    insertLogRow(transaction, staffName, actionText);
}

void TryWriteLog(const QString& staffName, const QString& actionText)
{
    try {
        insertLogRow(*Db::Open(), staffName, actionText);
    } catch (const VbError&) {
    }
}
