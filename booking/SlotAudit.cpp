#include "SlotAudit.h"
#include "Clock.h"
#include "SlotKey.h"
#include "SqlQuote.h"
#include "Verification.h"

#include "Connection.h"

void WriteRemark(Connection& db, const QString& date, const QString& time, int court, const QString& job,
                 const QString& remark, const QString& actionTime)
{
    db.Execute("INSERT INTO tbl_remark SET m_dotime='" + DbDateTime(Now()) + "', m_datetime='" + SlotKey(date, time) +
               "', m_remark='" + SqlQuote(remark) + "', m_job='" + job + "' ,m_field=" + QString::number(court) +
               ", m_staff='" + SqlQuote(Succeeded_User) + "', m_actiontime='" + SqlQuote(actionTime) + "'");
}

bool HoldsMark(const QString& name, const QString& mark) { return name.contains(mark, Qt::CaseInsensitive); }

std::optional<QString> SharedRowRefusal(const QString& nameCell, const QString& verb)
{
    if (HoldsMark(nameCell, PartiallySharedMark))
        return "Please " + verb + " individual slots";
    if (HoldsMark(nameCell, SharedBookingMark))
        return "Please " + verb + " main slots";
    return std::nullopt;
}
