#pragma once

#include <QString>

#include <cstdint>
#include <map>
#include <vector>

class Connection;

// The soak: four station processes work one busy day at once through the program's own rules, then
// the database alone is checked for what must never happen. Run by hand (see SoakMain.cpp).

// The busy day, a Friday far enough ahead that no hour of it has passed.
inline const QString SoakDate = QStringLiteral("2031-06-13");
constexpr int SoakStations = 4;

// Tallies by name: actions done, their outcomes and the texts the stations were shown.
using Tally = std::map<QString, long long>;

// The settings of $WINDIR/pallowin.ini as the station's start-up reads them, on the centre's own
// database. From then on a window that opens, or the error window, ends the process loudly.
void LoadStationSettings();
// The rest of the program's start-up for one station once its settings are loaded, without its
// windows: the database check and the provisioning of every station's tables, the staff member signed
// in and the shift opened. Database failures throw.
void StartStation();

// The station's busy day on SoakDate: actions chosen by seed, then the shift's close. Questions are
// answered by the seed too, or all with Yes. Returns what was done and shown.
Tally RunStationDay(uint32_t seed, int actions, bool yes);

// A small day that sound rules leave sound, done by this station alone: the day the self-check
// plants its faults into.
void RunSoundDay();

// The stock and register hours at the start of the day, kept in the database for the checks.
void SnapshotStartOfDay(Connection& db);

// Every anomaly found, by class, each with the rows that show it.
using Anomalies = std::map<QString, std::vector<QString>>;
Anomalies CheckDay(Connection& db);
// The classes CheckDay reports, in the order they are printed.
const std::vector<QString>& AnomalyClasses();

// Plants one fault of each class into the sound day, each inside a transaction that is undone after
// the checks have looked at it; prints what each planting was flagged as. Tells whether the sound
// day was clean and every planted fault caught by its own class.
bool SelfCheck(Connection& db);
