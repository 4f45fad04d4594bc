#pragma once

#include "Globals.h"
#include "VbError.h"

#include <functional>

// The error window's heading: the task under way (CurrentTask), and that the failure wrote nothing
// where the station knows it (a transaction that failed before its COMMIT was sent).
QString ErrorHeading(const VbError& error);

// The common end of every error handler: shows the failure of the task under way (CurrentTask).
// The error window installs itself here; until then the failure is shown as a message box.
void ShowErrorDisplay(const VbError& error);

// Gives CurrentTask back, when it ends, as it was when it began: a step inside an action (its
// verification, a log row) names itself for its own failure and leaves the action's name to head the
// action's failures afterwards.
class RestoreTask {
public:
    RestoreTask() : m_outer(CurrentTask) {}
    ~RestoreTask() { CurrentTask = m_outer; }
    RestoreTask(const RestoreTask&) = delete;
    RestoreTask& operator=(const RestoreTask&) = delete;

private:
    QString m_outer;
};

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
