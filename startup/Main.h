#pragma once

// The start-up of the station: one instance per station, the station values, the settings, the
// database check and provisioning, then the login window. Run when the program starts and again
// after a hand-over. When it leaves no window open, the program ends.
void Main();

// The program: the start-up, then the windows' events until no window is left; ends at once when
// the start-up leaves no window. The system's requests to end it (SIGTERM, SIGHUP, SIGINT) end it
// through its event loop, with every camera's file finished.
int RunProgram();

// Whether a window of the program is shown; the program runs only while one is.
bool AnyWindowOpen();

// Asks the earlier instance to come to the front and ends this one; returns when the earlier
// instance cannot be reached, and start-up goes on.
void ActivatePrevInstance();
