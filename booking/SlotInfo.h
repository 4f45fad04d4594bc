#pragma once

#include <QString>
#include <cstdint>

class SlotGrid;

// Read-only look-ups on one slot of the grid's court, for pricing and the history tooltip.
// Database failures throw.

// The slot's number of players, 0 when none.
int16_t GetSlotPlayers(const SlotGrid& grid, const QString& date, const QString& time);
// The slot's rate class as stored, "" for the normal rate; tells the cashier about any other.
QString ShowSpecialRateInfo(const SlotGrid& grid, const QString& date, const QString& time);
// The slot's extra time, 0 when none; tells the cashier about any.
int16_t ShowExtraTimeInfo(const SlotGrid& grid, const QString& date, const QString& time);
// The slot's play length when it is not the full hour, else 0; tells the cashier about it.
int16_t ShowPlayLengthInfo(const SlotGrid& grid, const QString& date, const QString& time);

// The history of the slot of the grid's focused row: its old record, its audit lines newest first,
// its rate class and players.
QString BuildSlotHistory(const SlotGrid& grid);

// The display name of a rate class: the group's name for "specialgroup" and its number, else the class.
QString RateClassName(const QString& rate);
