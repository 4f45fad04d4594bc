#pragma once

#include <QString>

class SlotGrid;

// Books one hour of one court with its audit row and the rows of the courts that share its space, all
// in one transaction. Refusals (a bad court, a past slot, a taken slot) are shown and give false, with
// nothing written; a database failure throws, with nothing written.
bool doBooking(SlotGrid& grid, const QString& date, const QString& time, const QString& tel, const QString& org,
               const QString& name, const QString& court, const QString& specialRate, bool fromWaitList, int delay,
               int playLength, int person);

// Cancels one booked hour for the given reason, with the rows of the courts that share its space, in
// one transaction. name is the text of the row's name column: a slot that holds another booker by now
// is refused. Refusals are shown and give false; a database failure throws, with nothing deleted.
bool doCancel(SlotGrid& grid, const QString& date, const QString& time, const QString& name, const QString& court,
              const QString& reason);
