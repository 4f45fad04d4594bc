#include "Vb.h"
#include "VbError.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Vb {

namespace {

VbError overflow() { return VbError(VbErrors::Overflow, "Pallowin", "Overflow"); }
VbError typeMismatch() { return VbError(VbErrors::TypeMismatch, "Pallowin", "Type mismatch"); }

// The default floating-point rounding mode sends halves to the even neighbour, as the original runtime does.
double bankersRound(double value) { return std::nearbyint(value); }

template <typename Int>
Int toInt(double value)
{
    if (std::isnan(value))
        throw overflow();
    double r = bankersRound(value);
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) || r > static_cast<double>(std::numeric_limits<Int>::max()))
        throw overflow();
    return static_cast<Int>(r);
}

int hexDigit(QChar c)
{
    if (c >= '0' && c <= '9')
        return c.unicode() - '0';
    if (c >= 'a' && c <= 'f')
        return c.unicode() - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c.unicode() - 'A' + 10;
    return -1;
}

double numericText(const QString& text)
{
    if (!IsNumeric(text))
        throw typeMismatch();
    return Val(text);
}

} // namespace

double Val(const QString& text)
{
    QString digits;
    int i = 0;
    const int n = text.size();
    auto skipBlanks = [&] {
        while (i < n && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
            ++i;
    };
    skipBlanks();
    if (i + 1 < n && text[i] == '&' && (text[i + 1] == 'H' || text[i + 1] == 'h')) {
        i += 2;
        long long v = 0;
        bool any = false;
        for (; i < n; ++i) {
            int d = hexDigit(text[i]);
            if (d < 0)
                break;
            v = v * 16 + d;
            any = true;
        }
        return any ? static_cast<double>(v) : 0.0;
    }
    if (i < n && (text[i] == '-' || text[i] == '+')) {
        digits += text[i];
        ++i;
    }
    bool seenPoint = false, seenDigit = false;
    while (i < n) {
        QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            digits += c;
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            digits += c;
            seenPoint = true;
        } else if (c != ' ') {
            break;
        }
        ++i;
    }
    if (!seenDigit)
        return 0.0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        QString exponent = "e";
        int j = i + 1;
        if (j < n && (text[j] == '-' || text[j] == '+'))
            exponent += text[j++];
        bool any = false;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) {
            exponent += text[j++];
            any = true;
        }
        if (any)
            digits += exponent;
    }
    bool ok = false;
    double v = digits.toDouble(&ok);
    return ok ? v : 0.0;
}

bool IsNumeric(const QString& text)
{
    const QString t = text.trimmed();
    if (t.startsWith("&H", Qt::CaseInsensitive)) {
        const QString digits = t.mid(2);
        return !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) { return hexDigit(c) >= 0; });
    }
    // The conversion also reads "inf" and "nan", which are no numbers a user writes.
    bool ok = false;
    const double value = t.toDouble(&ok);
    return ok && std::isfinite(value);
}

int16_t CInt(double value) { return toInt<int16_t>(value); }
int16_t CInt(const QString& text) { return toInt<int16_t>(numericText(text)); }
int32_t CLng(double value) { return toInt<int32_t>(value); }
int32_t CLng(const QString& text) { return toInt<int32_t>(numericText(text)); }

}
