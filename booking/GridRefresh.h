#pragma once

#include "BookRows.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

class Connection;

// The hour rows of the business day: the opening hour to 23, midnight (hour 24), then the hours
// after midnight up to the closing hour.
struct HourRow {
    QString span; // "08:00 to 09:00", whose first five characters are the slot time
    QString slot; // "08:00 AM"
};
std::vector<HourRow> BusinessDayRows();

// The grid row that shows a slot of the given hour (1 to 24), 0 when it has none.
int GridRowOfHour(int hour, int rowCount);
// The midnight row.
int MidnightRow();

// The records of every row of the grid of one date and court; element 0 stays free. A court text that
// is not a number gives only free rows.
BookRows ReadBookRows(Connection& db, const QString& date, const QString& courtText, int rowCount);

// The picture of one row: the minutes the previous slot runs into it, then its own slot.
struct DurationBar {
    int carryIn = 0;
    int start = 0;
    int end = 0;
    bool operator==(const DurationBar&) const = default;
};
// One entry per row (element 0 unused); none for a free row that nothing runs into.
std::vector<std::optional<DurationBar>> DurationBarsOf(const BookRows& rows);
// "AB" for even rows, "BA" for odd ones, so that neighbouring slots differ in colour.
QString BarPattern(int row);

// The hours (1 to 24) the previous, current and next play lists show at clock hour h (0 to 23).
struct PlayHours {
    int previous, current, next;
};
PlayHours PlayHoursAt(int clockHour);
// The play lists of the three hours (24 being midnight) of the date: one line per booked court in
// court order, its display caption, " - " and the booker.
struct PlayLists {
    QString previous, current, next;
};
PlayLists ReadPlayLists(Connection& db, const QString& date, const PlayHours& hours);

// The rows whose "Slot" cell marks the previous, current and next hour at clock hour h; 0 for none.
struct HourMarks {
    int previous = 0, current = 0, next = 0;
    bool operator==(const HourMarks&) const = default;
};
HourMarks HourMarksAt(int clockHour, int rowCount);

// What one refresh of the grid shows of one date and court.
struct GridReading {
    QString date;
    QString court;
    BookRows rows;
    PlayLists lists;
    // Why the database could not be read; empty when it was.
    QString failure;
    // When the rows were read from the database; invalid when they never were.
    QDateTime readAt;
};
// What a row shows when its slot could not be read: it is not free as far as anyone knows.
inline const QString UnreadMark = QStringLiteral("(not read)");
// Reads the rows and the play lists at clock hour clockHour. When the database cannot be read the
// rows keep what last read of the same date and court (or, for another date or court, every row
// shows UnreadMark), and failure says why, so that no booked slot looks free.
GridReading ReadGrid(const QString& date, const QString& courtText, int rowCount, int clockHour,
                     const GridReading& last);
