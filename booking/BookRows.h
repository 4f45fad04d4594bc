#pragma once

#include "Money.h"

#include <QString>
#include <cstdint>
#include <vector>

// What the grid holds of the slot that starts in one hour row, as the last refresh read it.
struct BookRow {
    QString bookerName; // empty: the row holds no slot of its own
    QString telephone;
    Money paid;            // any amount above 0 marks the slot paid
    int16_t extraTime = 0;
    int16_t delay = 0;     // minute of the hour at which play starts
    int16_t playLength = 0; // minutes of play, as PlayLengthMinutes reads the stored length

    bool IsBooked() const { return !bookerName.isEmpty(); }
    // Minutes by which the slot runs into the next row; 0 or less when it ends within its hour.
    int Overrun() const { return playLength - (60 - delay); }
};

// Element r is grid row r; element 0 is always a free row, so that the row before row 1 reads as free.
using BookRows = std::vector<BookRow>;
