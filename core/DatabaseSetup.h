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
// changes; a change of this version holds that row shared, so that such a station waits for the change
// and the change for such a station, while the changes of this version never wait for each other on
// it. This makes those rows of courts where they are missing, in court order and on their own (outside
// any change); rows already there are not touched. A row that another station is making just now is
// waited for: false when it kept it longer than a statement waits.
bool AddDatelessCourtRows(Connection& connection, const std::vector<int>& courts);
