#include "StaffLog.h"
#include "Clock.h"
#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "SqlQuote.h"

void WriteLog(const QString& staffName, const QString& actionText)
{
    try {
        auto connection = Db::Open();
        CurrentTask = "updating log";
        connection->Execute("INSERT INTO tbl_log SET log_counter= " + QString::number(CounterNumber) +
                            ", log_staffname='" + SqlQuote(staffName) + "', log_datetime='" + DbDateTime(Now()) +
                            "', log_do='" + SqlQuote(actionText) + "'");
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}
