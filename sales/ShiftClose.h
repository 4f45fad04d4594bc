#pragma once

#include "Money.h"

#include <QString>
#include <optional>

// The close of a station's shift: the money counted in the drawer, the cash float left in it, and
// the sales of the shift, their difference.
struct ShiftAmounts {
    Money money;
    Money cashFloat;
    Money Sales() const { return money - cashFloat; }
};

// The Sales box while the amounts are typed: the leading number of each text, 0 without one,
// written as a plain number ("400.5", "-20", "0").
QString ShownSales(const QString& money, const QString& cashFloat);

// The recorded sales as the Sales box shows them.
QString PlainSales(const ShiftAmounts& amounts);

// The amounts to record, when both texts are plain amounts ("500", "500.50", "-20"); else the
// message that says which one is not.
struct ShiftEntry {
    std::optional<ShiftAmounts> amounts;
    QString refusal;
};
ShiftEntry ReadShiftAmounts(const QString& money, const QString& cashFloat);

// Records the shift ShiftName of this station in one transaction: the log line, the station's
// closed mark and its tbl_shift<n> row with the amounts, the previous closing, the time of the
// shift's first sale and the stock of every shop item. Database failures throw and write nothing.
void RecordShift(const ShiftAmounts& amounts);

// The shift a station opens at a clock hour (0 to 23): "morning" strictly after the opening hour and
// before 18:00, else "evening" (the opening hour itself, the evening and the hours after midnight).
QString ShiftNameAt(int hour, int openingHour);
