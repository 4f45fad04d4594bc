#pragma once

#include <QString>

class SlotGrid;

// Changes of booked slots made from the grid. Each refuses what it must with a message, keeps the
// courts that share space in step and writes its audit rows in one transaction, deciding on the rows
// as they are inside it, and redraws the grid. Database failures throw, with nothing written.

// Moves the start of the slot of a grid row to minute delay of its hour.
void DelayGameTime(SlotGrid& grid, int row, int delay, bool requireAuthorization);

enum class LengthMethod { Shorten = 1, ExtraTime = 2 };
// Sets the play length of the slot of a grid row: above 60 runs into the next row, below shortens it.
void AddExtraTime(SlotGrid& grid, int row, int playLength, LengthMethod method, bool requireAuthorization);

// Books the selected rows of the grid on date with the booker of the booking clipboard, or of the cut
// waiting-list entry; books nothing when neither holds one.
void Block_Booking(SlotGrid& grid, const QString& date);

// The slot menu's delay command: every selected row, from the last up, starts at minute value.
void doDelay(SlotGrid& grid, int value);
// The slot menu's extra-time command: the focused row's slot plays value minutes longer.
void doAddExtraTime(SlotGrid& grid, int value);
