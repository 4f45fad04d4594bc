#pragma once

#include "BookRows.h"

#include <optional>
#include <vector>

class SlotGrid;

// What the user answered about booking a free row into which the slot before it runs, or whose
// next slot starts early: a delay past the previous slot's end, a shorter length before the next
// slot's start. An offer not made counts as declined.
struct SlotOffer {
    bool delayAsked = false;
    bool delayAccepted = false;
    int delay = 0;
    bool shortenAsked = false;
    bool shortenAccepted = false;
    int shortenTo = 60;
};

// Asks the questions of booking row (1 up to rows.size() - 1) on the given rows. A previous slot that
// fills the whole hour is refused with "The time for this slot has been used by previous slot", and
// Cancel (or Esc) on a question ends the asking: both give none. When carriesDelay, the row before is
// one the same command books, so a delay into this row follows it without a question.
std::optional<SlotOffer> AskSlotOffer(const BookRows& rows, int row, bool carriesDelay = false);

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
