#pragma once

#include "Money.h"
#include "Prompter.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class Connection;
class VbError;

// Every change of booked slots is one transaction that reads what it decides on inside it. Changes
// lock the rows of a slot in one order, the master court's row first, then the court's own row, so
// that stations changing courts that share space wait for each other instead of writing over each
// other. Each change writes the master's row when it touches a dependent court, and its slot keys
// are unique, so the same holds where the database is replicated and row locks stay local.

// What the loser of a race for a slot is told.
inline const QString SlotTakenMessage = QStringLiteral("The field already being booked");

// Thrown inside a change to undo all it wrote and show the user why (nothing is shown for an empty message).
struct SlotRefusal {
    QString message;
    int style = Msg::Critical;
};

// Runs change in one transaction and tells whether it was committed. A refusal, a slot key that
// another station stored first, or a lock another station kept twice over undoes everything and is
// shown; any other failure undoes everything and throws.
bool RunSlotChange(const std::function<void(Connection&)>& change);

// One slot's part of a change of several slots: a refusal, or a slot key another station stored
// first, undoes only this part and is handed back. Of a single slot, it undoes the whole change.
std::optional<SlotRefusal> RunSlotPart(Connection& db, bool oneOfSeveral, const std::function<void()>& part);

// Shows the refusals of the slots of a committed change in slot order, and tells which slots changed.
std::vector<bool> ShowRefusals(const std::vector<std::optional<SlotRefusal>>& refusals);

// Whether a statement failed on a unique key: another station stored the slot first.
bool IsDuplicateSlot(const VbError& error);

// The condition that picks one slot of one court.
QString SlotWhere(const QString& date, const QString& time, int court);

// One tbl_booking row as a change reads it; it stays locked until the change ends.
struct SlotRow {
    QString bookerName;
    int delay = 0;
    int playLength = 0;
    int shared = 0;
    Money paid;
};
std::optional<SlotRow> LockSlotRow(Connection& db, const QString& date, const QString& time, int court);

// From the earliest start to the latest end of the bookings at the slot on master's dependent
// courts, court's own booking taken as starting at start and playing length minutes.
struct SlotSpan {
    int start;
    int end;
};
SlotSpan DependentsSpan(Connection& db, int master, int court, const QString& date, const QString& time, int start,
                        int length);
