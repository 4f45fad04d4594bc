#pragma once

#include "Booking.h"

#include <QString>
#include <QStringList>
#include <optional>

class SlotGrid;

// Changes of booked slots made from the grid. Each refuses what it must with a message, keeps the
// courts that share space in step and writes its audit rows in one transaction, deciding on the rows
// as they are inside it, and redraws the grid: a slot that holds another booking by now than the grid
// showed is refused, and so is a new start or length that would meet another slot of the court.
// Database failures throw, with nothing written; a commit whose reply was lost is found out and told
// (RunSlotChange).

// Moves the start of the slot of a grid row to minute delay of its hour.
void DelayGameTime(SlotGrid& grid, int row, int delay, bool requireAuthorization);

enum class LengthMethod { Shorten = 1, ExtraTime = 2 };
// Sets the play length of the slot of a grid row: above 60 runs into the next row, below shortens it.
void AddExtraTime(SlotGrid& grid, int row, int playLength, LengthMethod method, bool requireAuthorization);
// As AddExtraTime after a verification, but a longer slot must leave room to the slot after it,
// judged from its own start minute on the rows as they are now ("conflicting! cannot delay"); a row
// that holds a marker is refused with "Please <verb> individual slots" or "… main slots".
void SetSlotLength(SlotGrid& grid, int row, int playLength, LengthMethod method, const QString& verb);

// Sets the play length of the slot of a grid row on its own court only ("shorten slot"); a free row
// is refused.
void SetPlayTime(SlotGrid& grid, int row, int playTime, bool requireAuthorization);

// The booker the clipboard holds: the waiting-list entry this station cut while PasteFromWaitList
// (an entry gone meanwhile is said, gives none and forgets the cut), else the slot this station copied
// last; none when neither holds one.
std::optional<Booker> ClipboardBooker();

// Books the selected rows of the grid on each of dates with the booker of the clipboard, read once
// for all of them, in one transaction; books nothing when the clipboard holds no one.
void Block_Booking(SlotGrid& grid, const QStringList& dates);
void Block_Booking(SlotGrid& grid, const QString& date);

// The slot menu's delay command: every selected row, from the last up, starts at minute value. A row
// that would clash is passed over, with "conflicting! cannot delay" when sayConflicts.
void doDelay(SlotGrid& grid, int value, bool sayConflicts = true);
// The slot menu's extra-time command: the focused row's slot plays value minutes longer than the grid
// shows; a slot whose length is another by now is refused.
void doAddExtraTime(SlotGrid& grid, int value);
