#pragma once

#include "CartLine.h"
#include "Money.h"

#include <QString>
#include <optional>

// How the sales windows write and read amounts and quantities.

// "##,##0.00": thousands grouped with ",".
QString GroupedAmount(Money amount);
// A cart line's amount as the cart shows it: grouped for a shop item, plain for a court hour or misc item.
QString ShownAmount(const CartLine& line);
// "##.#0": no digit before the point unless needed, ".50", "1234.50", "-5.00".
QString TillAmount(Money amount);
// The amount of till-style digits, in cents: "1250" is 12.50; "" is 0.
std::optional<Money> TillDigitsAmount(const QString& digits);
// A stored decimal as a number prints: "1.50" is "1.5", "3.00" is "3".
QString PlainNumber(const QString& decimal);
// A typed price: digits with at most one point and two decimals, an optional minus sign, up to
// 999,999,999.99; anything else is no price.
std::optional<Money> ParsePrice(const QString& text);
// An amount of cash typed in a box, read as a price is ("1,000.50" is none); else the message
// that asks for what ("the Cash Float") as an amount, for example the example given.
struct CashEntry {
    std::optional<Money> amount;
    QString refusal;
};
CashEntry ReadCashAmount(const QString& text, const QString& what, const QString& example);
// A typed whole quantity from 0 to 32767 ("007" is 7); anything else is no quantity.
std::optional<int> ParseQuantity(const QString& text);
