#pragma once

#include <QChar>
#include <QString>

#include "Money.h"

class Cart;
class SlotGrid;

// The price of a slot with extra minutes: the rate and the extra minutes at the same rate, with
// the quantity in hours as it prints (1.5).
struct SlotPrice {
    Money amount;
    QString quantity;
};
SlotPrice PriceWithExtraTime(Money rate, int extraMinutes);
// rate × minutes / 60, rounded to the cent.
Money PerMinutes(Money rate, int minutes);

// Puts the selected hour rows of the grid into the cart, first to last, each priced from the rate
// table by its rate class, extra time, play length and (with per-person charging) its players.
// courtName is the name of the grid's court as the line shows it. A row that cannot be paid shows
// why and ends the walk; the lines added before it stay. Returns the number of lines added.
// Database failures throw.
int PaySelectedSlots(SlotGrid& grid, const QString& courtName, Cart& cart);
