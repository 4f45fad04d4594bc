#pragma once

#include "SlotChange.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class SlotGrid;

// Who books, as every row of a booking stores it.
struct Booker {
    QString tel;
    QString org;
    QString name;
    QString specialRate;
    int person = 0;
};

// One hour to book: the date, the time ("hh:mm"), the minute play starts and the minutes it lasts.
struct SlotToBook {
    QString date;
    QString time;
    int delay = 0;
    int playLength = 60;
};

// What a station is told when the waiting-list entry it cut was booked or cleared elsewhere meanwhile.
inline const QString WaitListEntryGoneMessage =
    QStringLiteral("The waiting-list entry cut at this station has been booked or cleared at another station "
                   "since. Nothing was booked: please cut or copy the booker again.");

// What a station is told when the waiting-list entry it cut is gone: WaitListEntryGoneMessage, unless a
// booking of that entry at this station lost the reply to its commit and could not be looked up, which
// may have booked it itself.
QString CutEntryGoneMessage();

// Forgets the cut waiting-list entry once it is gone, and the slot copied before it, so that no later
// paste books another customer in its place unasked.
void ForgetCutEntry();

// What a booking does with the waiting-list entry this station cut (WaitListCutId).
enum class CutEntry {
    // Nothing: no entry is cut.
    Untouched,
    // The booker was typed: the entry goes with the first hour booked only when the booker is its
    // customer (the same name and telephone); another booker leaves it waiting, and the cut pending.
    TakenBySameBooker,
    // The booker was read from the entry: the entry goes with the first hour booked; when it was
    // booked or cleared elsewhere meanwhile, nothing is booked and the cut is forgotten.
    TakenWithBooker,
};

// Books the hours on court for booker, with their audit rows and the rows of the courts that share
// space, in one transaction that holds the court and decides on its slots as they are inside it. An
// hour that cannot be booked (past, taken, or meeting a slot before or after it as the court stands
// now) is left out and its refusal shown once the others are written; a bad court is refused before
// anything; a database failure writes none of them and throws, and a commit whose reply was lost is
// found out (RunSlotChange). The cut waiting-list entry goes as cut says. Element i tells whether
// hours[i] was booked. When the outcome of a commit could not be told, an hour of it that holds its
// booker when this station books again is refused as possibly its own doing, not as taken elsewhere,
// until the first booking of one of its hours finds out from its audit row whether it was written.
std::vector<bool> BookSlots(SlotGrid& grid, const std::vector<SlotToBook>& hours, const Booker& booker,
                            const QString& court, CutEntry cut);

// Books the hours at times of one date, all with the same start minute and length, as above;
// fromWaitList: the booker was read from the cut waiting-list entry.
std::vector<bool> BookSlots(SlotGrid& grid, const QString& date, const QStringList& times, const Booker& booker,
                            const QString& court, bool fromWaitList, int delay, int playLength);

// Books the hours of a block booking, which asked nothing on the grid, as BookSlots does; the hours
// left out are told in one message at the end, each with its date and reason.
std::vector<bool> BookBlock(SlotGrid& grid, const std::vector<SlotToBook>& hours, const Booker& booker,
                            const QString& court, CutEntry cut);

// Books one hour of one court as BookSlots does.
bool doBooking(SlotGrid& grid, const QString& date, const QString& time, const QString& tel, const QString& org,
               const QString& name, const QString& court, const QString& specialRate, bool fromWaitList, int delay,
               int playLength, int person);

// Why a row that holds a shared-court marker is not cancelled by itself; none for a booker's row.
std::optional<SlotRefusal> CancelRefusal(const QString& name);

// Cancels the booked hours at times of date on court for the given reason, with the rows of the courts
// that share their space, in one transaction that holds the court. shownNames are the texts of the
// rows' name columns: a slot that holds another booker by now is refused. An hour that cannot be
// cancelled (past, empty, paid, a shared-court row) is left and its refusal shown once the others are
// done; a bad court is refused before anything, an empty reason cancels nothing; a database failure
// deletes nothing and throws, and a commit whose reply was lost is found out (RunSlotChange). Element
// i tells whether times[i] was cancelled.
std::vector<bool> CancelSlots(SlotGrid& grid, const QString& date, const QStringList& times,
                              const QStringList& shownNames, const QString& court, const QString& reason);

// Cancels one booked hour as CancelSlots does.
bool doCancel(SlotGrid& grid, const QString& date, const QString& time, const QString& name, const QString& court,
              const QString& reason);
