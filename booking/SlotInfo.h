#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

class SlotGrid;

// Read-only look-ups on one slot of the grid's court, for pricing and the history tooltip, and how
// its stored numbers read. Database failures throw.

// How pricing reads a stored count of minutes or players: 0 when empty, not positive or above 32767.
int16_t PricedCount(const QString& stored);
// The minutes a stored play length gives the slot: rows of older versions hold 0 for the full hour,
// so a length that is no count (as PricedCount reads it) is the full hour, 60. Everything that times
// a slot reads its length so, as pricing does.
int16_t PlayLengthMinutes(const QString& stored);
// How pricing reads a stored play length: the length when it is not the full hour, else 0.
int16_t PricedPlayLength(const QString& stored);

// The slot's number of players, 0 when none.
int16_t GetSlotPlayers(const SlotGrid& grid, const QString& date, const QString& time);
// The slot's rate class as stored, "" for the normal rate; tells the cashier about any other.
QString ShowSpecialRateInfo(const SlotGrid& grid, const QString& date, const QString& time);
// The slot's extra time, 0 when none; tells the cashier about any.
int16_t ShowExtraTimeInfo(const SlotGrid& grid, const QString& date, const QString& time);
// The slot's play length when it is not the full hour, else 0; tells the cashier about it.
int16_t ShowPlayLengthInfo(const SlotGrid& grid, const QString& date, const QString& time);

// The history of the slot of the grid's focused row: its old record, its audit lines newest first,
// its rate class and players. It only informs, so it waits on the server for seconds only.
QString BuildSlotHistory(const SlotGrid& grid);

// The history the grid's tip shows. Selecting a row is the first step of every action, so reading
// it never ends the program and never holds the counter up for long: a failure gives a tip that
// says the history cannot be read now, and for a while after one the server is not asked again.
class SlotHistoryTip {
public:
    static constexpr int QuietSeconds = 30;
    static inline const QString CannotRead = QStringLiteral(
        "The history of this slot cannot be read now: the database does not answer. It is read again when you "
        "select the row in a little while.");

    QString Text(const SlotGrid& grid);

private:
    QDateTime m_failedAt;
};

// The display name of a rate class: the group's name for "specialgroup" and its number, else the class.
QString RateClassName(const QString& rate);
