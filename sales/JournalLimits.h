#pragma once

#include "CartLine.h"
#include "Money.h"

#include <QString>
#include <cstdint>
#include <vector>

// What the sales journal holds of a sale. Its price, quantity and amount columns (and b_paid, which
// takes a court line's amount) are DECIMAL(12,2), as the database set-up makes tbl_counter1 and every
// station's journal is made from it. The connection runs without strict mode, so a value beyond them
// would be stored cut down to the largest they hold, or rounded, and the receipt would show another
// sale than the one paid for.
namespace Journal {

constexpr int WholeDigits = 10;
constexpr int Decimals = 2;

constexpr int64_t LargestCents()
{
    int64_t cents = 0;
    for (int d = 0; d < WholeDigits + Decimals; ++d)
        cents = cents * 10 + 9;
    return cents;
}
// 9,999,999,999.99
constexpr Money LargestAmount = Money::FromCents(LargestCents());

bool Holds(Money amount);
// Whether the columns hold a quantity as it is written ("1.5", "007") exactly.
bool HoldsQuantity(const QString& quantity);

// Why the journal cannot hold the lines or their total as they are; empty when it can.
QString RefusalOf(const std::vector<CartLine>& lines);

} // namespace Journal
