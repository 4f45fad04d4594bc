#pragma once

#include <QString>
#include <cstdint>

// An amount of money in whole cents, never in floating point.
class Money {
public:
    constexpr Money() = default;
    static constexpr Money FromCents(int64_t cents) { return Money(cents); }
    // The leading decimal number of a text ("10.50", "4.5", "12"), rounded half away from zero at the cents;
    // 0 for a text that does not start with a number.
    static Money Parse(const QString& text);

    constexpr int64_t Cents() const { return m_cents; }
    // "##0.00": at least one digit before the point, two after, no grouping.
    QString Format() const;
    // Rounded to whole units, halves to the even neighbour.
    int64_t Whole() const;
    // The plain decimal written into statements, "10.50".
    QString Sql() const { return Format(); }

    constexpr Money operator+(Money o) const { return Money(m_cents + o.m_cents); }
    constexpr Money operator-(Money o) const { return Money(m_cents - o.m_cents); }
    Money& operator+=(Money o)
    {
        m_cents += o.m_cents;
        return *this;
    }
    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(int64_t cents) : m_cents(cents) {}
    int64_t m_cents = 0;
};
