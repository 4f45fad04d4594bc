#include "SlotInfo.h"
#include "SlotGrid.h"
#include "SlotKey.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "Prompter.h"
#include "SpecialGroups.h"

#include "Vb.h"

namespace {

const QString SpecialGroupRate = QStringLiteral("specialgroup");

QString slotCondition(const SlotGrid& grid, const QString& date, const QString& time)
{
    return " from tbl_booking where b_datetime=\"" + SlotKey(date, time) + "\" AND b_field=" +
           QString::number(Vb::CInt(grid.CourtText())) + ";";
}

// The first row's column, "" when the slot has no booking.
QString slotColumn(const SlotGrid& grid, const QString& date, const QString& time, const QString& column)
{
    Recordset rs = Db::Query("SELECT " + column + slotCondition(grid, date, time));
    return rs.EOF_() ? QString() : rs[column].Value();
}

void inform(const QString& text) { MsgBox(text, Msg::Information, "Information"); }

// A read that only informs gives up sooner than one an action depends on: after 2 seconds without an
// answer, whether the server does not answer or makes it wait behind a lock another session holds.
constexpr Timeouts GlanceTimeouts{2, 2, 2};

} // namespace

int16_t PricedCount(const QString& stored)
{
    const double v = Vb::Val(stored);
    return v > 0 && v <= 32767 ? Vb::CInt(v) : int16_t(0);
}

int16_t PlayLengthMinutes(const QString& stored)
{
    const int16_t length = PricedCount(stored);
    return length == 0 ? int16_t(60) : length;
}

int16_t PricedPlayLength(const QString& stored)
{
    const int16_t length = PlayLengthMinutes(stored);
    return length == 60 ? int16_t(0) : length;
}

QString RateClassName(const QString& rate)
{
    if (!rate.contains(SpecialGroupRate))
        return rate;
    const QString rest = QString(rate).remove(SpecialGroupRate);
    const double group = Vb::Val(rest);
    // Only a group that can exist has a name; asking for any other would add a key to the settings.
    if (!Vb::IsNumeric(rest) || group < 1 || group > SpecialGroupLimit || group != static_cast<int>(group))
        return rate;
    return GetSpecialGroupName(static_cast<int>(group));
}

int16_t GetSlotPlayers(const SlotGrid& grid, const QString& date, const QString& time)
{
    return PricedCount(slotColumn(grid, date, time, "b_person"));
}

QString ShowSpecialRateInfo(const SlotGrid& grid, const QString& date, const QString& time)
{
    const QString rate = slotColumn(grid, date, time, "b_specialrate");
    if (!rate.isEmpty())
        inform("The customer got " + RateClassName(rate) + " rate");
    return rate;
}

int16_t ShowExtraTimeInfo(const SlotGrid& grid, const QString& date, const QString& time)
{
    const int16_t extra = PricedCount(slotColumn(grid, date, time, "b_extratime"));
    if (extra != 0)
        inform("The customer got extra time");
    return extra;
}

int16_t ShowPlayLengthInfo(const SlotGrid& grid, const QString& date, const QString& time)
{
    const int16_t length = PricedPlayLength(slotColumn(grid, date, time, "b_playlength"));
    if (length != 0)
        inform("The customer got custom playtime");
    return length;
}

QString BuildSlotHistory(const SlotGrid& grid)
{
    const QString date = grid.GridDate();
    const QString time = grid.RowTime(grid.CurrentRow());
    const QString court = QString::number(Vb::CInt(grid.CourtText()));
    QString history;
    auto db = Db::Open(GlanceTimeouts);
    for (Recordset rs = db->Query("SELECT m_staff, m_job, m_remark, m_actiontime from tbl_remark where m_datetime=\"" +
                                  SlotKey(date, time) + "\" AND m_field=" + court + " ORDER BY m_id ASC; ");
         !rs.EOF_(); rs.MoveNext()) {
        const QString staff = rs["m_staff"].Value();
        if (staff.isEmpty())
            continue;
        const QString job = rs["m_job"].Value().trimmed();
        const QString remark = rs["m_remark"].Value();
        const QString head = rs["m_actiontime"].Value() + ": " + staff;
        QString line;
        if (job == "cancel")
            line = head + " " + job + " because booker said '" + remark + "'";
        else if (job == "book" || job == "change rate" || job == "delay slot" || job == "shorten slot")
            line = head + " " + job + remark;
        else if (job == "extra time")
            line = head + " add " + job + remark;
        else if (job == "delete extra time")
            line = head + " delete extra time ";
        else if (job == "change")
            line = head + " change " + remark;
        else
            continue;
        history = line + "\r\n" + history;
    }
    for (Recordset rs = db->Query("SELECT *" + slotCondition(grid, date, time)); !rs.EOF_(); rs.MoveNext()) {
        const QString staffName = rs["b_staffname"].Value();
        if (!staffName.isEmpty())
            history = "old record : " + staffName + " book\r\n" + history;
        const QString rate = rs["b_specialrate"].Value();
        if (!rate.isEmpty())
            history += "Special Rate Package = " + RateClassName(rate) + "\r\n";
        if (PerPersonChargingOn == 1)
            history += "Number of Player = " + rs["b_person"].Value() + "\r\n";
    }
    return history;
}

QString SlotHistoryTip::Text(const SlotGrid& grid)
{
    if (m_failedAt.isValid() && Now() < m_failedAt.addSecs(QuietSeconds))
        return CannotRead;
    try {
        const QString history = BuildSlotHistory(grid);
        m_failedAt = QDateTime();
        return history;
    } catch (const VbError&) {
        m_failedAt = Now();
        return CannotRead;
    }
}
