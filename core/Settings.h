#pragma once

#include <QString>
#include <array>
#include <vector>

// Reads a key of a settings file; a key that is missing or empty gives the default, which is then
// written into the file when it is not empty.
QString ReadIni(const QString& section, const QString& key, const QString& defaultValue, const QString& file);
bool WriteIni(const QString& section, const QString& key, const QString& value, const QString& file);

// Stops the start-up with a clear text when "pallowin.ini" exists but cannot be read, before any
// default is written back into it.
void CheckSettingsFile();

// Reads the general settings of "pallowin.ini" into the globals and builds the connection string.
// A setting that must be a number and is not throws the conversion's VbError, whose text names both
// keys of the hours where it is an opening or closing hour; hours that make no business day of at
// most 24 hours throw a VbError naming both keys.
void LoadSettings();

// The station's settings as the start-up reads them: the file checked, the court indexes, the
// station's number and the number of stations (a VbError unless 1 <= number <= count), then
// LoadSettings.
void ReadStationSettings();

// The connection string for these server values; values that hold ';' or '}' are braced.
QString BuildConnectionString(const QString& server, const QString& port, const QString& user, const QString& password);

// The courts that lie in the space of court, in pair order, then -1.
std::array<int, 16> GetSharedCourts(int court);
// The same courts without the -1 padding, for walking them.
std::vector<int> DependentCourts(int court);
// The master court whose space holds court, or -1.
int GetSharedMaster(int court);
