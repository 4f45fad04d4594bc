#pragma once

#include <QString>
#include <optional>

// The court a booking operation is given as text: a whole number from 0 to LastCourtIndex. Anything
// else (an empty box, "99", "1.5") is refused with a message that says which courts there are, and
// gives none.
std::optional<int> ChosenCourt(const QString& text);
