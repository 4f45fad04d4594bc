#pragma once

#include <QString>
#include <ostream>

// Lets failing expectations print texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
