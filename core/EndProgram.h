#pragma once

#include <functional>

// Ends the program at once, with no clean-up and no question: the stop symbol of the login window
// and the error window of a lost database do this. Tests install a handler that returns instead.
void EndProgram();

void SetEndProgramHandler(std::function<void()> handler);
