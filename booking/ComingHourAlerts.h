#pragma once

#include <QDate>
#include <QDateTime>
#include <vector>

class Connection;

// The business date a moment belongs to: midnight and the hours after it up to the closing hour
// still belong to the date whose evening they close (at 00:20 on the 9th it is the 8th).
QDate BusinessDate(const QDateTime& moment);

// Which courts 0..lastCourt to mark on the floor plan an hour ahead of now: those booked in the
// current hour whose coming hour has another booker or none. Each hour is read on its own business
// date, so a run after midnight reads the night's slots of the evening's date.
// A database failure throws.
std::vector<bool> ComingHourAlerts(Connection& db, const QDateTime& now, int lastCourt);
