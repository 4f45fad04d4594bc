#include "SlotKey.h"
#include "SqlQuote.h"

QString SlotKey(const QString& date, const QString& time) { return SqlQuote(date + " " + time + ":00"); }
