#pragma once

#include <QByteArray>
#include <QString>

// Settings files in the Windows directory, read and written the way the counter program expects:
// read as UTF-8 when they are valid UTF-8, else as the Windows-1252 code page (files brought from
// a Windows counter), and written back in the encoding they were read in;
// section and key names match without regard to case or surrounding blanks, values come back
// trimmed with one pair of enclosing quotes removed, and a write replaces the key in place or
// appends it, creating the section and the file when they are missing.
namespace Profile {

// $WINDIR when set, else $XDG_CONFIG_HOME/pallowin (or ~/.config/pallowin).
QString WindowsDirectory();

// A bare file name lives in the Windows directory; a path is taken as it is.
QString PathOf(const QString& file);

// Why the file cannot be read although it exists (permissions, too many open files); empty when
// it can be read or does not exist. Such a file is never written.
QString UnreadableReason(const QString& file);

// The whole file as text, decoded as it is read for its keys; "" when it is missing or unreadable.
QString Text(const QString& file);

// A text read from the file as the bytes the file holds for it: in its own encoding, UTF-8 or
// Windows-1252 (UTF-8 for a file that is missing).
QByteArray Encoded(const QString& text, const QString& file);

// Copies at most size - 1 characters of the value into value and returns how many; 0 when the key
// or the file is missing or the value is empty (value is then the default, cut the same way).
int GetString(const QString& section, const QString& key, const QString& defaultValue,
              QString& value, int size, const QString& file);

// Whether the section has a line of the key, also one with an empty value.
bool HasKey(const QString& section, const QString& key, const QString& file);

// False when the file cannot be written, cannot be read, or its encoding has no room for value.
// The file keeps its encoding, line endings and every byte of the lines not written.
bool WriteString(const QString& section, const QString& key, const QString& value, const QString& file);

}
