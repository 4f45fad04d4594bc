#pragma once

#include "Globals.h"
#include "VbError.h"

#include <functional>

// The common end of every error handler: shows the failure of the task under way (CurrentTask).
// The error window installs itself here; until then the failure is shown as a message box.
void ShowErrorDisplay(const VbError& error);

using ErrorDisplayHandler = std::function<void(const VbError&)>;
void SetErrorDisplayHandler(ErrorDisplayHandler handler);

// Runs an event handler as the task named: a failure is shown in the error window and never leaves
// the handler (an exception leaving a Qt slot would end the program).
template <class F>
void Guarded(const QString& task, F&& handler)
{
    try {
        CurrentTask = task;
        handler();
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}
