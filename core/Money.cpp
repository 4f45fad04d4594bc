#include "Money.h"

Money Money::Parse(const QString& text)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        negative = t[i++] == '-';
    int64_t whole = 0;
    bool any = false;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
        if (whole > INT64_MAX / 1000)
            break;
        whole = whole * 10 + (t[i++].unicode() - '0');
        any = true;
    }
    int64_t fraction = 0;
    int digits = 0;
    bool roundUp = false;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
            int d = t[i++].unicode() - '0';
            if (digits < 2)
                fraction = fraction * 10 + d;
            else if (digits == 2)
                roundUp = d >= 5;
            ++digits;
            any = true;
        }
    }
    if (!any)
        return Money();
    for (; digits < 2; ++digits)
        fraction *= 10;
    int64_t cents = whole * 100 + fraction + (roundUp ? 1 : 0);
    return Money(negative ? -cents : cents);
}

QString Money::Format() const
{
    const int64_t magnitude = m_cents < 0 ? -m_cents : m_cents;
    return QString("%1%2.%3")
        .arg(m_cents < 0 ? "-" : "")
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QChar('0'));
}

int64_t Money::Whole() const
{
    const int64_t magnitude = m_cents < 0 ? -m_cents : m_cents;
    int64_t whole = magnitude / 100;
    const int64_t rest = magnitude % 100;
    if (rest > 50 || (rest == 50 && whole % 2 == 1))
        ++whole;
    return m_cents < 0 ? -whole : whole;
}
