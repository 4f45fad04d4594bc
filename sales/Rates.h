#pragma once

#include "Money.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>

// The hourly price of court FieldNumber at hour PlayTime (0 to 24) on weekday PlayDay for the rate
// class SpecialRate, from the first tbl_rate row whose hour band holds the hour, both ends
// included; none when no row prices it. Midnight is hour 0 in the table: a PlayTime of 24 is
// changed to 0 in the caller's variable. Database failures throw.
std::optional<Money> CalcFieldRate(int16_t FieldNumber, int16_t& PlayTime, const QString& PlayDay,
                                   const QString& SpecialRate);

// The full weekday name of a date as the rate table writes it: in the station's regional names
// ("Monday", "Montag"), the language in which the centre writes its rate table.
QString WeekdayName(const QDate& date);
