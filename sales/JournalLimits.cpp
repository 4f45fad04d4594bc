#include "JournalLimits.h"
#include "SalesFormat.h"

#include <QRegularExpression>

namespace Journal {

bool Holds(Money amount) { return amount <= LargestAmount && amount >= Money() - LargestAmount; }

bool HoldsQuantity(const QString& quantity)
{
    static const QRegularExpression number("^-?0*([0-9]*?)(?:\\.([0-9]*?)0*)?$");
    static const QRegularExpression digit("[0-9]");
    const QRegularExpressionMatch parts = number.match(quantity);
    return parts.hasMatch() && quantity.contains(digit) &&
           parts.capturedLength(1) <= WholeDigits && parts.capturedLength(2) <= Decimals;
}

QString RefusalOf(const std::vector<CartLine>& lines)
{
    const QString largest = GroupedAmount(LargestAmount);
    Money total;
    for (const CartLine& line : lines) {
        // A court hour's quantity is its length in hours (a third for 20 minutes): the journal keeps it
        // rounded, as it always has, while its price and amount are exact. Refusing it would leave the
        // hour unpayable, and nothing the cashier could change would mend it.
        const bool quantityHeld = line.IsSlot() || HoldsQuantity(line.quantity);
        if (!Holds(line.unitPrice) || !quantityHeld || !Holds(line.amount))
            return "The line " + line.text + " (price " + line.unitPrice.Format() + ", quantity " + line.quantity +
                   ", amount " + line.amount.Format() + ") does not fit the sales journal, which records prices, "
                   "quantities and amounts of at most " + largest + " with at most two decimals. Nothing was "
                   "recorded: remove the line or lower its quantity.";
        total += line.amount;
    }
    if (!Holds(total))
        return "The total of this sale, " + total.Format() + ", does not fit the sales journal, which records "
               "amounts of at most " + largest + ". Nothing was recorded: take the payment as two or more sales.";
    return {};
}

} // namespace Journal
