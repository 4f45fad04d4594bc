#pragma once

#include <QString>

// The slot key of a grid row as it goes into a statement, quoted: "2026-12-08 24:00:00".
QString SlotKey(const QString& date, const QString& time);
