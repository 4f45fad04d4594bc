#pragma once

#include "BookRows.h"

#include <QDate>
#include <QString>
#include <optional>

// The rules that keep slots of one court from overlapping, judged on the rows of the last grid refresh.

// Whether the slot of row (1 up to rows.size() - 1), starting at minute delay with its present play
// length, would clash with the slots of its neighbours.
bool isDelayConflict(const BookRows& rows, int row, int delay);

// The two halves of the test that keeps a slot from overlapping the other slots of its court, on rows
// read inside the change that holds the court: whether a slot that starts in an earlier row still
// plays at minute delay of row's hour, and whether a slot of a later row starts before the slot of row,
// played from minute delay for length minutes, has ended. Slots that run over several hours count
// wherever they reach; the slot of row itself is left out.
bool isPreviousSlotConflict(const BookRows& rows, int row, int delay);
bool isNextSlotConflict(const BookRows& rows, int row, int delay, int length);

// The calendar date on which a grid row's hour falls: the business date for the hours from the
// opening hour to 23, the next day for "24:00" and the hours after midnight; none outside the business day.
std::optional<QDate> ExactDate(const QString& time, const QString& date);

// Whether the slot's hour began before the present clock hour ("24:00" is midnight at the end of the
// date). A slot outside the business day counts as past.
bool IsPastSlot(const QString& time, const QString& date);

class Connection;

// The smallest start minute (60 when none) and the latest end minute (0 when none) of the bookings at
// the slot on the courts that share master's space, court left out. Read on the connection of the
// change that holds the master's row, so that no other change of those courts comes in between.
int getMinDelayTime(Connection& db, int master, int court, const QString& date, const QString& time);
int getMaxPlayTime(Connection& db, int master, int court, const QString& date, const QString& time);
