#include "SlotTiming.h"
#include "Clock.h"
#include "Connection.h"
#include "Globals.h"
#include "Settings.h"
#include "SlotInfo.h"
#include "SlotKey.h"

#include "Vb.h"

bool isDelayConflict(const BookRows& rows, int row, int delay)
{
    if (delay < 0)
        return true;
    const BookRow& previous = rows[row - 1];
    const BookRow& self = rows[row];
    const int previousOverrun = previous.IsBooked() ? previous.Overrun() : 0;
    const bool previousClash = delay == 0 ? previousOverrun > 0 : previous.IsBooked() && delay < previousOverrun;

    // The last row has no next row to run into: its slot must end within its hour.
    if (row == static_cast<int>(rows.size()) - 1)
        return previousClash || self.playLength + delay > 60;
    if (previousClash)
        return true;
    if (delay == 0)
        return false;

    const BookRow& next = rows[row + 1];
    const int newOverrun = self.playLength - (60 - delay);
    if (!next.IsBooked() && newOverrun < 60)
        return false;
    return newOverrun > next.delay;
}

namespace {

// Minutes from the start of the business day's first row to minute `minute` of row's hour.
int dayMinute(int row, int minute) { return 60 * (row - 1) + minute; }

} // namespace

bool isPreviousSlotConflict(const BookRows& rows, int row, int delay)
{
    for (int earlier = 1; earlier < row; ++earlier) {
        const BookRow& slot = rows[static_cast<size_t>(earlier)];
        if (slot.IsBooked() && dayMinute(earlier, slot.delay + slot.playLength) > dayMinute(row, delay))
            return true;
    }
    return false;
}

bool isNextSlotConflict(const BookRows& rows, int row, int delay, int length)
{
    for (size_t later = static_cast<size_t>(row) + 1; later < rows.size(); ++later) {
        const BookRow& slot = rows[later];
        if (slot.IsBooked() && dayMinute(static_cast<int>(later), slot.delay) < dayMinute(row, delay + length))
            return true;
    }
    return false;
}

std::optional<QDate> ExactDate(const QString& time, const QString& date)
{
    const QDate day(Vb::CInt(Vb::Val(date.mid(0, 4))), Vb::CInt(Vb::Val(date.mid(5, 2))),
                    Vb::CInt(Vb::Val(date.mid(8, 2))));
    if (!day.isValid())
        return std::nullopt;
    if (time == "24:00")
        return day.addDays(1);
    const int hour = static_cast<int>(Vb::Val(time.left(2)));
    if (hour >= HourStart && hour < 24)
        return day;
    if (hour >= 1 && hour <= HourEnd)
        return day.addDays(1);
    return std::nullopt;
}

bool IsPastSlot(const QString& time, const QString& date)
{
    const std::optional<QDate> day = ExactDate(time, date);
    if (!day)
        return true;
    const int hour = time == "24:00" ? 0 : static_cast<int>(Vb::Val(time.left(2)));
    const QDateTime start(*day, QTime(hour, 0));
    const QDateTime now = Now();
    const QDateTime thisHour(now.date(), QTime(now.time().hour(), 0));
    return start < thisHour;
}

namespace {

// The rows at the slot on master's dependent courts other than court; none when no such court is left.
Recordset otherDependentRows(Connection& db, int master, int court, const QString& date, const QString& time)
{
    QString condition;
    for (int shared : DependentCourts(master)) {
        if (shared != court)
            condition += "OR b_field=" + QString::number(shared) + " ";
    }
    if (condition.isEmpty())
        return {};
    return db.Query("SELECT * FROM tbl_booking WHERE b_datetime='" + SlotKey(date, time) + "' AND (" +
                     condition.mid(2) + ")");
}

} // namespace

int getMinDelayTime(Connection& db, int master, int court, const QString& date, const QString& time)
{
    int lowest = 60;
    for (Recordset rs = otherDependentRows(db, master, court, date, time); !rs.EOF_(); rs.MoveNext())
        lowest = std::min<int>(lowest, static_cast<int>(rs["b_delaytime"].Integer()));
    return lowest;
}

int getMaxPlayTime(Connection& db, int master, int court, const QString& date, const QString& time)
{
    int latest = 0;
    for (Recordset rs = otherDependentRows(db, master, court, date, time); !rs.EOF_(); rs.MoveNext())
        latest = std::max<int>(latest, static_cast<int>(rs["b_delaytime"].Integer()) +
                                           PlayLengthMinutes(rs["b_playlength"].Value()));
    return latest;
}
