#include "RegisterSearch.h"

#include <QStringList>

namespace {

// Where piece first occurs in text at or after from, _ matching any character; -1 when it does not.
qsizetype find(const QString& text, const QString& piece, qsizetype from)
{
    if (!piece.contains('_'))
        return text.indexOf(piece, from);
    for (qsizetype start = from; start + piece.size() <= text.size(); ++start) {
        qsizetype i = 0;
        while (i < piece.size() && (piece[i] == '_' || piece[i] == text[start + i]))
            ++i;
        if (i == piece.size())
            return start;
    }
    return -1;
}

} // namespace

RegisterSearch::RegisterSearch(const QString& typed)
{
    for (const QString& piece : Fold(typed).split('%', Qt::SkipEmptyParts))
        m_pieces.push_back(piece);
}

// Each piece is taken at its first place after the one before: a later place could only leave less
// room for the pieces that follow.
bool RegisterSearch::Matches(const QString& folded) const
{
    qsizetype at = 0;
    for (const QString& piece : m_pieces) {
        const qsizetype found = find(folded, piece, at);
        if (found < 0)
            return false;
        at = found + piece.size();
    }
    return true;
}

QString RegisterSearch::Fold(const QString& text)
{
    bool plain = true;
    for (QChar c : text)
        plain = plain && c.unicode() < 0x80;
    if (plain)
        return text.toLower();
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            folded += c;
    return folded.toCaseFolded();
}
