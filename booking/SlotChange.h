#pragma once

#include "Money.h"
#include "Prompter.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class Connection;

// Every change of booked slots is one transaction that reads what it decides on inside it. A change
// first takes its court's turn on each business date it changes (LockCourts): the lock rows of the
// court, its master and its dependents on those dates, in court and date order, so that two changes
// of courts that share space, or of neighbouring hours of one court, never decide on the same rows at
// once and never wait for each other in a circle. Only then does it read the court's slots of those
// dates, the hours around its own included, and lock the slot rows it writes. A business date holds
// all its hours, those after midnight too, and no slot runs into the next business date, so changes
// of one court on different dates share no row they decide on and need not wait for each other.
// The lock rows are written, not only read, and slot keys are unique, so the same holds where the
// database is replicated and row locks stay local.

// What the loser of a race for a slot is told.
inline const QString SlotTakenMessage = QStringLiteral("The field already being booked");
// What a station is told when another station held the rows of its change longer than it could wait.
inline const QString SlotBusyMessage =
    QStringLiteral("Another station is changing this slot just now. Nothing was changed: please try again.");

// Thrown inside a change to undo what it wrote and show the user why (nothing is shown for an empty
// message). Of a change of several slots, only the slot it came from is undone, unless endsChange.
struct SlotRefusal {
    QString message;
    int style = Msg::Critical;
    bool endsChange = false;
};

// The refusal of a command on a slot that holds another booking by now than the grid showed.
SlotRefusal ChangedSinceShown(const QString& holder);

// Takes court's turn on dates, as the first statement of a change: locks the lock rows of court, its
// master and its dependents on each of the business dates, and holds their dateless rows shared, which
// a station of the version before the turns by date writes for any date of the court. Where a dateless
// row is missing, it undoes the transaction (which holds nothing else yet), makes the missing rows
// outside it and begins the transaction afresh; when they stay missing, the change is refused with
// SlotBusyMessage.
void LockCourts(Connection& db, int court, const QStringList& dates);

// Runs change in one transaction and tells whether it was committed. A refusal, a slot key that
// another station stored first, or a lock another station kept twice over (SlotBusyMessage) undoes
// everything and is shown; any other failure undoes everything and throws. When the reply to the
// commit is lost, the change's audit rows tell whether it was written: so it was (told, and taken
// as committed), it was not, or that cannot be told yet (both told, and taken as not committed). A
// change that kept no audit row throws Db::CommitUnconfirmed.
bool RunSlotChange(const std::function<void(Connection&)>& change);
// As RunSlotChange, telling apart a change that was not written from one whose outcome could not be told,
// which auditRow, the number of the change's last audit row, tells later.
enum class ChangeOutcome { Written, NotWritten, Untold };
ChangeOutcome TrySlotChange(const std::function<void(Connection&)>& change, long long& auditRow);

// One slot's part of a change of several slots: a refusal, or a slot key another station stored
// first, undoes only this part and is handed back. Of a single slot, or with a refusal that ends the
// change, it undoes the whole change.
std::optional<SlotRefusal> RunSlotPart(Connection& db, bool oneOfSeveral, const std::function<void()>& part);

// Shows the refusals of the slots of a committed change in slot order, and tells which slots changed.
std::vector<bool> ShowRefusals(const std::vector<std::optional<SlotRefusal>>& refusals);

// The condition that picks one slot of one court.
QString SlotWhere(const QString& date, const QString& time, int court);

// One tbl_booking row as a change reads it; it stays locked until the change ends.
struct SlotRow {
    QString bookerName;
    int delay = 0;
    int playLength = 0;
    int shared = 0;
    Money paid;
    int invoice = 0;
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
