#pragma once

#include <QString>

class SlotGrid;

// "Change Player Count" on the grid's focused slot, which the per-person charge is priced on.
class PlayerCountChange {
public:
    // Refuses what cannot be copied either (a free, extra-time or shared-court row), then has the user
    // verified; tells whether the new number may be asked for.
    static bool MayChange(SlotGrid& grid);

    // Sets the players of the slot at time of date on court to players, with its "change" audit row,
    // in one transaction. A slot cancelled meanwhile, or holding another booking by now than shownName,
    // is refused with nothing written.
    static void Write(const QString& date, const QString& time, int court, const QString& shownName, int players,
                      const QString& actionTime);
};
