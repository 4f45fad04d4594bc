#include "SlotAudit.h"
#include "Clock.h"
#include "SlotKey.h"
#include "SqlQuote.h"
#include "Verification.h"

#include "Connection.h"

#include <QStringList>

void WriteRemark(Connection& db, const QString& date, const QString& time, int court, const QString& job,
                 const QString& remark, const QString& actionTime)
{
    WriteRemarks(db, date, time, {{court, job, remark}}, actionTime);
}

void WriteRemarks(Connection& db, const QString& date, const QString& time, const std::vector<Remark>& remarks,
                  const QString& actionTime)
{
    const QString written = DbDateTime(Now()), slot = SlotKey(date, time);
    QStringList rows;
    for (const Remark& r : remarks)
        rows << "('" + written + "','" + slot + "','" + SqlQuote(r.remark) + "','" + r.job + "'," +
                    QString::number(r.court) + ",'" + SqlQuote(Succeeded_User) + "','" + SqlQuote(actionTime) + "')";
    db.Execute("INSERT INTO tbl_remark (m_dotime, m_datetime, m_remark, m_job, m_field, m_staff, m_actiontime) VALUES " +
               rows.join(','));
}

QString MinutesRemark(int minutes) { return " for " + QString::number(minutes) + " minutes "; }

bool HoldsMark(const QString& name, const QString& mark) { return name.contains(mark, Qt::CaseInsensitive); }

std::optional<QString> SharedRowRefusal(const QString& nameCell, const QString& verb)
{
    if (HoldsMark(nameCell, PartiallySharedMark))
        return "Please " + verb + " individual slots";
    if (HoldsMark(nameCell, SharedBookingMark))
        return "Please " + verb + " main slots";
    return std::nullopt;
}
