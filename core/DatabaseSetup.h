#pragma once

#include <vector>

class Connection;

// Keeping the shared database usable at every start-up. Both procedures show their own failures
// in the error window, headed by the task under way, and return whether they ran through.

// Runs the server's extended table check over every table and asks, for each error it reports,
// whether to repair that table.
bool CheckDatabase();

// Makes sure that every station from 1 to stationCount has its counter, shift and clipboard
// tables, made from the station-1 definitions, and its tbl_system row. Nothing is ever dropped.
// A database of an older version gets the keys this version's locks need; one that another
// station's change keeps out is told in a message of its own (no lost database), and the program
// ends, so that no station works on a database that is not up to date.
bool InitDatabase(int stationCount);

// A station of the version before the courts took turns by date, still running while the stations
// are updated one at a time, takes a court's turn on the court's row without a date, whatever date it
// changes. This makes those rows of courts where they are missing; with hold, inside a change, it
// holds them shared until the change ends, so that such a station waits for the change and the change
// for such a station, while the changes of this version, which only share them, never wait for each
// other on them. A row made here stays held until the change ends. Without hold, rows already there
// are not touched, so that the start-up never waits behind an older station's change.
void AddDatelessCourtRows(Connection& connection, const std::vector<int>& courts, bool hold);
