#pragma once

#include <QString>
#include <vector>

// The register's search: the names that contain the typed text, read as a LIKE pattern is read:
// % stands for any run of characters and _ for any one character; case and accents are ignored,
// as the name column's collation ignores them.
class RegisterSearch {
public:
    explicit RegisterSearch(const QString& typed);

    // Whether a name, folded by Fold, contains the text.
    bool Matches(const QString& folded) const;

    // A name in the form the search compares: case folded, accents taken off.
    static QString Fold(const QString& text);

private:
    // The pieces between the %s, in order; each must follow the one before.
    std::vector<QString> m_pieces;
};
