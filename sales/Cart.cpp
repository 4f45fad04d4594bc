#include "Cart.h"

void Cart::Add(const CartLine& line)
{
    m_lines.push_back(line);
    m_total += line.amount;
    m_shown = true;
}

void Cart::Remove(size_t index)
{
    if (index >= m_lines.size())
        return;
    m_total = m_total - m_lines[index].amount;
    m_shown = true;
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(index));
}

void Cart::Reset()
{
    m_lines.clear();
    m_total = Money();
    m_shown = false;
}

bool Cart::HoldsSlot(const CartLine& line) const
{
    for (const CartLine& l : m_lines)
        if (l.IsSlot() && l.court == line.court && l.slotDate == line.slotDate && l.slotTime == line.slotTime)
            return true;
    return false;
}
