#include "GridRefresh.h"
#include "SlotInfo.h"
#include "SlotKey.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "SqlQuote.h"

#include "Connection.h"
#include "Vb.h"
#include "VbError.h"

namespace {

QString twoDigits(int n) { return QString::number(n).rightJustified(2, '0'); }

// A column as a 16-bit number; a value that is missing, empty or out of range leaves the field at 0.
int16_t smallInt(const Field& field)
{
    const double v = field.Number();
    if (field.Value().trimmed().isEmpty() || v < -32768 || v > 32767)
        return 0;
    return Vb::CInt(v);
}

} // namespace

std::vector<HourRow> BusinessDayRows()
{
    std::vector<HourRow> rows;
    for (int h = HourStart; h <= 23; ++h) {
        const QString slot = h < 12 ? twoDigits(h) + ":00 AM" : h == 12 ? "12:00 PM" : twoDigits(h - 12) + ":00 PM";
        rows.push_back({twoDigits(h) + ":00 to " + twoDigits(h + 1) + ":00", slot});
    }
    rows.push_back({"24:00 to 01:00", "12:00 AM"});
    for (int h = 1; h <= HourEnd; ++h)
        rows.push_back({twoDigits(h) + ":00 to " + twoDigits(h + 1) + ":00", twoDigits(h) + ":00 AM"});
    return rows;
}

int MidnightRow() { return 24 - HourStart + 1; }

int GridRowOfHour(int hour, int rowCount)
{
    int row = 0;
    if (hour >= HourStart && hour <= 23)
        row = hour - HourStart + 1;
    else if (hour == 24)
        row = MidnightRow();
    else if (hour >= 1 && hour <= HourEnd)
        row = MidnightRow() + hour;
    return row >= 1 && row <= rowCount ? row : 0;
}

BookRows ReadBookRows(Connection& db, const QString& date, const QString& courtText, int rowCount)
{
    BookRows rows(static_cast<size_t>(rowCount) + 1);
    if (!Vb::IsNumeric(courtText))
        return rows;
    // The slot key starts with its date, so the key's index finds the date's rows.
    Recordset rs = db.Query("SELECT  b_playlength, b_delaytime, b_datetime, b_bookername,b_bookertel,b_paid,b_extratime "
                            "from tbl_booking where b_datetime LIKE '" + SqlQuote(date) + "%' AND b_field=" +
                            QString::number(Vb::CInt(courtText)) + ";");
    for (; !rs.EOF_(); rs.MoveNext()) {
        const int row = GridRowOfHour(static_cast<int>(Vb::Val(rs["b_datetime"].Value().mid(11, 2))), rowCount);
        if (row == 0)
            continue;
        BookRow& r = rows[static_cast<size_t>(row)];
        r.bookerName = rs["b_bookername"].Value();
        r.telephone = rs["b_bookertel"].Value();
        r.paid = Money::Parse(rs["b_paid"].Value());
        r.extraTime = smallInt(rs["b_extratime"]);
        r.delay = smallInt(rs["b_delaytime"]);
        r.playLength = PlayLengthMinutes(rs["b_playlength"].Value());
    }
    return rows;
}

std::vector<std::optional<DurationBar>> DurationBarsOf(const BookRows& rows)
{
    std::vector<std::optional<DurationBar>> bars(rows.size());
    int carry = 0;
    for (size_t i = 1; i < rows.size(); ++i) {
        DurationBar bar;
        if (carry != 0) {
            bar = {carry, 60, 60};
            carry = 0;
        }
        const BookRow& row = rows[i];
        if (row.IsBooked()) {
            bar.start = row.delay;
            bar.end = 60;
            if (row.Overrun() <= 0)
                bar.end = row.delay + row.playLength;
            else
                carry = row.Overrun();
        }
        if (row.IsBooked() || bar.carryIn > 0) {
            bar.carryIn = std::min(bar.carryIn, bar.start);
            bars[i] = bar;
        }
    }
    return bars;
}

QString BarPattern(int row) { return row % 2 == 0 ? "AB" : "BA"; }

PlayLists ReadPlayLists(Connection& db, const QString& date, const PlayHours& hours)
{
    const QString previousKey = SlotKey(date, twoDigits(hours.previous) + ":00");
    const QString currentKey = SlotKey(date, twoDigits(hours.current) + ":00");
    const QString nextKey = SlotKey(date, twoDigits(hours.next) + ":00");
    PlayLists lists;
    // One statement for the three hours: a refresh runs on every change and every clock minute 55.
    for (Recordset rs = db.Query("SELECT b_bookername, b_field, b_datetime from tbl_booking where b_datetime IN (\"" +
                                 previousKey + "\", \"" + currentKey + "\", \"" + nextKey +
                                 "\") ORDER BY b_field ASC;");
         !rs.EOF_(); rs.MoveNext()) {
        const long long court = rs["b_field"].Integer();
        if (court < 0 || court >= MaxCourts)
            continue;
        const QString line =
            CourtDisplayNames[static_cast<size_t>(court)] + " - " + rs["b_bookername"].Value() + "\r\n";
        const QString key = rs["b_datetime"].Value();
        (key == previousKey ? lists.previous : key == currentKey ? lists.current : lists.next) += line;
    }
    return lists;
}

PlayHours PlayHoursAt(int clockHour)
{
    const int current = clockHour == 0 ? 24 : clockHour;
    return {current == 1 ? 24 : current - 1, current, current == 24 ? 1 : current + 1};
}

HourMarks HourMarksAt(int clockHour, int rowCount)
{
    HourMarks marks;
    const int midnight = MidnightRow();
    // Each rule marks its rows on its own: in a day of 24 hours the hour before opening is the night's
    // last hour, whose current and previous rows the night's rule marks and whose next row, the first,
    // the evening's rule marks.
    auto mark = [&marks, rowCount](int previous, int current, int next) {
        const auto set = [rowCount](int& field, int row) {
            if (row >= 1 && row <= rowCount)
                field = row;
        };
        set(marks.previous, previous);
        set(marks.current, current);
        set(marks.next, next);
    };
    if (clockHour <= 23 && clockHour >= HourStart - 1)
        mark(clockHour > HourStart ? clockHour - HourStart : 0, clockHour >= HourStart ? clockHour - HourStart + 1 : 0,
             clockHour - HourStart + 2);
    if (clockHour == 0)
        mark(midnight - 1, midnight, midnight + 1);
    if (clockHour >= 1 && clockHour <= HourEnd)
        mark(midnight + clockHour - 1, midnight + clockHour, midnight + clockHour + 1);
    return marks;
}

GridReading ReadGrid(const QString& date, const QString& courtText, int rowCount, int clockHour,
                     const GridReading& last)
{
    GridReading reading{date, courtText, {}, {}, {}, Now()};
    try {
        auto db = Db::Open();
        reading.rows = ReadBookRows(*db, date, courtText, rowCount);
        reading.lists = ReadPlayLists(*db, date, PlayHoursAt(clockHour));
        return reading;
    } catch (const VbError& e) {
        reading.failure = "The bookings could not be read: " + e.description() + "\n";
    }
    if (last.readAt.isValid() && last.date == date && last.court == courtText &&
        last.rows.size() == static_cast<size_t>(rowCount) + 1) {
        reading = GridReading{last.date, last.court, last.rows, last.lists,
                              reading.failure + "The grid shows them as read at " +
                                  last.readAt.toString("hh:mm:ss") + ".",
                              last.readAt};
    } else {
        BookRow unread;
        unread.bookerName = UnreadMark;
        reading.rows.assign(static_cast<size_t>(rowCount) + 1, unread);
        reading.rows[0] = BookRow();
        reading.readAt = QDateTime();
        reading.failure += "No hour of this court and date shows as free until they can be read.";
    }
    return reading;
}
