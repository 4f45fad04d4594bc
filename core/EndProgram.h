#pragma once

#include <functional>

// Ends the program with no question: the stop symbol of the login window, an earlier instance
// that was brought to the front, and the error window of a lost database do this. It leaves every
// running window loop; the start-up takes no further step and the program's run (RunProgram)
// ends through its tear-down. Tests install a handler that is called instead.
void EndProgram();

// Whether EndProgram was called in this run of the program.
bool ProgramEnding();
// A new run of the program starts with no ending asked for.
void ClearProgramEnding();

void SetEndProgramHandler(std::function<void()> handler);

// What must be finished before the program ends, whichever way it ends (the cameras' files): run
// by EndProgram first. The main window installs it while it is loaded; null removes it.
void SetBeforeEndProgram(std::function<void()> finish);

// Whether the error window of a lost database ends the program when it is closed: so while the
// program starts, where nothing can go on without the database; not while staff work in the main
// window, which goes on, with its cart and what was typed, once the server answers again.
void SetDatabaseLossEndsProgram(bool ends);
bool DatabaseLossEndsProgram();
