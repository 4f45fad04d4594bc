#pragma once

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
