#pragma once

#include "Money.h"

#include <QString>

// The booking of a court hour as a cart line was priced for it: who booked it, when they play, at
// which rate class and how many players. The terms pricing reads hold what it reads (SlotInfo).
struct SlotBooking {
    QString name;
    QString telephone;
    int delay = 0;
    // The play length when it is not the full hour, else 0.
    int customLength = 0;
    QString rateClass = {};
    int person = 0;
    int extraTime = 0;

    bool operator==(const SlotBooking&) const = default;
};

// One line of the payment cart: a court hour, a shop item or a miscellaneous item.
struct CartLine {
    enum class Kind { Slot, ShopItem, Misc };

    Kind kind = Kind::Misc;
    QString text;       // what the customer buys, as the receipt shows it
    Money unitPrice;
    QString quantity;   // as shown: 1, 1.5, 0.75, a player count, a typed quantity
    Money amount;
    QString tag;        // "pitch" for a court hour, the item type of a shop item, "" for a misc item

    // A court hour's slot, kept with the line so the sale finds it whatever the court is called.
    int court = -1;
    QString slotDate;   // "yyyy-mm-dd", the business date
    QString slotTime;   // "hh:00", "24:00" for midnight
    // The sale sells the hour only while the slot still holds this booking.
    SlotBooking booking;

    bool IsSlot() const { return kind == Kind::Slot; }
};

inline const QString PitchTag = QStringLiteral("pitch");
