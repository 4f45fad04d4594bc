#pragma once

#include <QString>

// Returns a copy of value fit to stand between the quotes of an SQL literal, single or double:
// every backslash, NUL, single quote and double quote gets a backslash escape; nothing else
// changes. The caller writes the enclosing quotes itself and passes the raw text: never a text
// that went through SqlQuote already (it would be stored with the backslashes). Every text value
// that goes into a statement passes through it once, whoever typed it: staff, the settings file,
// other rows. Names of tables and columns never do; they are built from checked numbers only.
QString SqlQuote(const QString& value);
