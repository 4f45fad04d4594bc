#pragma once

#include <QString>
#include <optional>

// The number of players typed into a box: its leading number rounded to a whole one (halves to
// even), from 0 to 32767. An empty box or a number outside that range gives none.
std::optional<int> PlayerCount(const QString& typed);

// What the user is told when PlayerCount gives none.
inline const QString PlayerCountMessage = QStringLiteral("Please enter number of person playing!");
