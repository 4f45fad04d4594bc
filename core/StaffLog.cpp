#include "StaffLog.h"
#include "Clock.h"
#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "SqlQuote.h"

#include <QStringList>

namespace {

// The row's columns, each as column=value.
QStringList logRow(const QString& staffName, const QString& time, const QString& actionText)
{
    return {"log_counter=" + QString::number(CounterNumber), "log_staffname='" + SqlQuote(staffName) + "'",
            "log_datetime='" + SqlQuote(time) + "'", "log_do='" + SqlQuote(actionText) + "'"};
}

void insertLogRow(Connection& connection, const QStringList& row)
{
    connection.Execute("INSERT INTO tbl_log SET " + row.join(", "));
}

void insertLogRow(Connection& connection, const QString& staffName, const QString& actionText)
{
    insertLogRow(connection, logRow(staffName, DbDateTime(Now()), actionText));
}

} // namespace

void WriteLog(const QString& staffName, const QString& actionText)
{
    // The caller goes on with its own task (printing the receipt it logged, stamping the login): a
    // failure there would else be headed "Error while updating log", naming the step that went well.
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

void WriteLogOnce(const QString& staffName, const QString& time, const QString& actionText, bool lookFirst)
{
    auto connection = Db::Open();
    const QStringList row = logRow(staffName, time, actionText);
    if (lookFirst && !connection->Query("SELECT 1 FROM tbl_log WHERE " + row.join(" AND ") + " LIMIT 1").EOF_())
        return;
    insertLogRow(*connection, row);
}

void TryWriteLog(const QString& staffName, const QString& actionText)
{
    try {
        insertLogRow(*Db::Open(), staffName, actionText);
    } catch (const VbError&) {
    }
}
