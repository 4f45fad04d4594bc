#pragma once

#include <QString>

// Returns a copy of value fit to stand between the quotes of an SQL literal, single or double:
// every backslash, NUL, single quote and double quote gets a backslash escape; nothing else
// changes. The caller writes the enclosing quotes itself and passes the raw text: never a text
// that went through SqlQuote already (it would be stored with the backslashes). Every text value
// that goes into a statement passes through it once, whoever typed it: staff, the settings file,
// other rows. Names of tables and columns never do: the program's own are built from checked
// numbers only, and those the server lists go through SqlName.
QString SqlQuote(const QString& value);

// A table's name as the server lists it, fit to stand in a statement: in backquotes, a backquote
// inside doubled. Tables that an administrator made (a backup copy "tbl_booking-2025") may hold any
// character; unquoted, one such name would make the statement that lists them all fail.
QString SqlName(const QString& name);
