#include "StationRow.h"
#include "Db.h"
#include "SqlQuote.h"

QString GetCounterStaff(int counter)
{
    Recordset rs = Db::Query("SELECT * from tbl_system where sys_counter =" + QString::number(counter));
    QString staff;
    for (; !rs.EOF_(); rs.MoveNext())
        staff = rs["sys_counterstaff"].Value();
    return staff;
}

void SetCounterStaff(int counter, const QString& staffName)
{
    Db::Execute("UPDATE tbl_system SET sys_counterstaff='" + SqlQuote(staffName) + "' where sys_counter =" +
                QString::number(counter));
}

void SetCounterStaffShiftStatus(int counter, int shiftStatus)
{
    SetCounterStaffShiftStatus(*Db::Open(), counter, shiftStatus);
}

void SetCounterStaffShiftStatus(Connection& transaction, int counter, int shiftStatus)
{
    transaction.Execute("UPDATE tbl_system SET sys_doclose=" + QString::number(shiftStatus) +
                        " where sys_counter =" + QString::number(counter));
}
