#include "ComingHourAlerts.h"
#include "SlotKey.h"

#include "Globals.h"

#include "Connection.h"

namespace {

QString hourText(int hour) { return QString::number(hour).rightJustified(2, '0') + ":00"; }

} // namespace

QDate BusinessDate(const QDateTime& moment)
{
    const int hour = moment.time().hour();
    const bool nightOfThePreviousDate = hour == 0 || (hour <= HourEnd && hour < HourStart);
    return nightOfThePreviousDate ? moment.date().addDays(-1) : moment.date();
}

std::vector<bool> ComingHourAlerts(Connection& db, const QDateTime& now, int lastCourt)
{
    const QDateTime ahead = now.addSecs(60 * 60);
    const int coming = ahead.time().hour() == 0 ? 24 : ahead.time().hour();
    const int current = coming == 1 ? 24 : coming - 1;
    // Each hour is read on its own business date: at the last hour of the night the current hour
    // still belongs to the evening's date, while the coming one already lies past the closing hour.
    const QString comingKey = SlotKey(BusinessDate(ahead).toString("yyyy-MM-dd"), hourText(coming));
    const QString currentKey = SlotKey(BusinessDate(now).toString("yyyy-MM-dd"), hourText(current));

    std::vector<QString> comingBooker(static_cast<size_t>(lastCourt) + 1), currentBooker(comingBooker);
    Recordset rs = db.Query("SELECT b_datetime, b_field, b_bookername FROM tbl_booking WHERE b_datetime IN (\"" +
                            comingKey + "\", \"" + currentKey + "\") AND b_field BETWEEN 0 AND " +
                            QString::number(lastCourt) + ";");
    for (; !rs.EOF_(); rs.MoveNext()) {
        const auto court = static_cast<size_t>(rs["b_field"].Integer());
        (rs["b_datetime"].Value() == comingKey ? comingBooker : currentBooker)[court] = rs["b_bookername"].Value();
    }
    std::vector<bool> marks(comingBooker.size());
    for (size_t i = 0; i < marks.size(); ++i)
        marks[i] = !currentBooker[i].isEmpty() && currentBooker[i] != comingBooker[i];
    return marks;
}
