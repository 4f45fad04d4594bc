#pragma once

#include "CartLine.h"

#include <vector>

// What the customer at the counter is about to pay, with its running total. The total reads empty
// until a line has been added since the cart was last emptied.
class Cart {
public:
    const std::vector<CartLine>& Lines() const { return m_lines; }
    bool IsEmpty() const { return m_lines.empty(); }

    void Add(const CartLine& line);
    // Removes the line and lowers the total by its amount.
    void Remove(size_t index);
    void Reset();

    // Whether the cart already holds the court hour of this slot line.
    bool HoldsSlot(const CartLine& line) const;

    Money Total() const { return m_total; }
    // "##0.00", or "" while nothing has been added since the last reset.
    QString TotalText() const { return m_shown ? m_total.Format() : QString(); }

private:
    std::vector<CartLine> m_lines;
    Money m_total;
    bool m_shown = false;
};
