#include "SalesFormat.h"

#include <QRegularExpression>

namespace {

constexpr int64_t LargestPriceCents = 99999999999;

}

QString GroupedAmount(Money amount)
{
    const QString plain = amount.Format();
    const bool negative = plain.startsWith('-');
    QString whole = plain.mid(negative ? 1 : 0, plain.indexOf('.') - (negative ? 1 : 0));
    for (int i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, ',');
    return (negative ? "-" : "") + whole + plain.mid(plain.indexOf('.'));
}

QString ShownAmount(const CartLine& line)
{
    return line.kind == CartLine::Kind::ShopItem ? GroupedAmount(line.amount) : line.amount.Format();
}

QString TillAmount(Money amount)
{
    QString text = amount.Format();
    if (text.startsWith("0."))
        text.remove(0, 1);
    else if (text.startsWith("-0."))
        text.remove(1, 1);
    return text;
}

std::optional<Money> TillDigitsAmount(const QString& digits)
{
    static const QRegularExpression onlyDigits("^[0-9]{0,13}$");
    if (!onlyDigits.match(digits).hasMatch())
        return std::nullopt;
    return Money::FromCents(digits.isEmpty() ? 0 : digits.toLongLong());
}

QString PlainNumber(const QString& decimal)
{
    QString text = decimal.trimmed();
    if (!text.contains('.'))
        return text;
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text.isEmpty() || text == "-" ? QStringLiteral("0") : text;
}

std::optional<Money> ParsePrice(const QString& text)
{
    static const QRegularExpression price("^-?([0-9]+\\.?[0-9]{0,2}|\\.[0-9]{1,2})$");
    const QString t = text.trimmed();
    if (!price.match(t).hasMatch())
        return std::nullopt;
    const Money m = Money::Parse(t);
    if (m.Cents() > LargestPriceCents || m.Cents() < -LargestPriceCents || t.section('.', 0, 0).size() > 10)
        return std::nullopt;
    return m;
}

CashEntry ReadCashAmount(const QString& text, const QString& what, const QString& example)
{
    if (const std::optional<Money> amount = ParsePrice(text))
        return {amount, {}};
    return {std::nullopt, "Please key in " + what + " as an amount, for example " + example};
}

std::optional<int> ParseQuantity(const QString& text)
{
    static const QRegularExpression digits("^[0-9]{1,9}$");
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int q = text.toInt();
    if (q > 32767)
        return std::nullopt;
    return q;
}
