#pragma once

#include "BookRows.h"
#include "Booking.h"

#include <optional>
#include <vector>

class SlotGrid;

// One grid row that a command books, with the minute its play starts and its length.
struct PlannedRow {
    int row;
    int delay = 0;
    int playLength = 60;
};

// How a command that books the grid's selected rows treats a row it cannot book as it is.
enum class Planning {
    // The Book action: a past or booked row, or a question answered No, ends the action with nothing booked.
    BookAction,
    // The paste: a past or booked row goes to the booking, which refuses it; a row whose question is
    // answered No is left out.
    Paste,
};

// The selected rows of the grid with the timing the user chose for each, asked row by row from the
// first down on the rows of the last refresh. A row after one the command books is judged as if that
// one were booked already: it starts as late as that one ends, and is offered a shorter length from
// there. None when the command ends before booking anything.
std::optional<std::vector<PlannedRow>> PlanSelectedRows(const SlotGrid& grid, Planning planning);

// The hours a plan books on date, each with its row's time.
std::vector<SlotToBook> PlannedHours(const SlotGrid& grid, const QString& date, const std::vector<PlannedRow>& plan);
