#pragma once

#include <QString>

class SlotGrid;

// Books one hour of one court with its audit row and the rows of the courts that share its space.
// Refusals (a past slot, a taken slot) are shown and give false; a database failure throws.
bool doBooking(SlotGrid& grid, const QString& date, const QString& time, const QString& tel, const QString& org,
               const QString& name, const QString& court, const QString& specialRate, bool fromWaitList, int delay,
               int playLength, int person);

// Cancels one booked hour for the given reason, with the rows of the courts that share its space.
// name is the text of the row's name column. Refusals are shown and give false; a database failure throws.
bool doCancel(SlotGrid& grid, const QString& date, const QString& time, const QString& name, const QString& court,
              const QString& reason);

// Whether a statement failed on the slot key: another station stored the slot first.
bool IsDuplicateSlot(const class VbError& error);
