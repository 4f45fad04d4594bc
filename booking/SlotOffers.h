#pragma once

#include "BookRows.h"

#include <optional>

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

// Asks the questions of booking row (1 up to rows.size() - 1) on the rows of the last refresh, as the
// Book action and the paste both do. A previous slot that fills the whole hour is refused with "The
// time for this slot has been used by previous slot" and gives none.
std::optional<SlotOffer> AskSlotOffer(const BookRows& rows, int row);
