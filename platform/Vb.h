#pragma once

#include <QString>
#include <cstdint>

// The conversions the counter program's rules are written in terms of.
namespace Vb {

// The leading number of a text: blanks skipped, digits, one point and an exponent read, the rest ignored;
// 0 when the text does not start with a number. Also reads "&H" hexadecimal.
double Val(const QString& text);

// Conversion to a 16-bit integer: halves go to the even neighbour; beyond -32768..32767 is an overflow.
int16_t CInt(double value);
// A text that is not a number is a type mismatch; a numeric text converts as its number.
int16_t CInt(const QString& text);
// The same for 32-bit integers.
int32_t CLng(double value);
int32_t CLng(const QString& text);

// Whether the whole text (blanks around it allowed) reads as a number.
bool IsNumeric(const QString& text);

}
