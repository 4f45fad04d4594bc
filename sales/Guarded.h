#pragma once

#include "ErrorDisplay.h"
#include "Globals.h"

#include <QString>

// Runs a handler of a sales window: a failure is shown in the error window as one of the task,
// and never leaves the handler.
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
