#include "Main.h"
#include "DatabaseSetup.h"
#include "EndProgram.h"
#include "EndRequests.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "StaffLog.h"
#include "frm_Login.h"
#include "frm_Main.h"

#include "Vb.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

#include <functional>

namespace {

SingleInstance* guard = nullptr;

// Ended by the system (its shutdown or log-out, a hang-up, Ctrl+C), the program ends as when its main
// window is closed, which logs no one out; every camera's file is finished as EndProgram finishes
// them.
bool endedBySystem = false;
void endAsTheSystemAsks()
{
    endedBySystem = true;
    EndProgram();
}

// Tries a database step of the start-up that fails by the error window it shows. After a hand-over
// the station worked a moment ago, so a failure there is a hiccup: the window's Close goes back to
// the start-up, which runs the step again, as staff at a working station do their action again,
// up to three times, and then goes on to the login window all the same.
void databaseStep(bool afterHandOver, const std::function<bool()>& step)
{
    const int tries = afterHandOver ? 3 : 1;
    for (int tried = 0; tried < tries; ++tried)
        if (step())
            return;
}

void startUp(bool afterHandOver)
{
    frm_Main::StartOver = [] { startUp(true); };
    if (afterHandOver)
        SetDatabaseLossEndsProgram(false);
    try {
        if (!guard) {
            guard = new SingleInstance(qApp);
            if (!guard->Claim())
                ActivatePrevInstance();
        }
        // Each step may end the program (its error window's Close after a lost database).
        if (!ProgramEnding()) {
            ReadStationSettings();
            databaseStep(afterHandOver, CheckDatabase);
        }
        if (!ProgramEnding())
            databaseStep(afterHandOver, [] { return InitDatabase(CounterCount); });
        if (!ProgramEnding())
            frm_Login::Default().show();
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
    // Entered again after a hand-over, from within the running event loop.
    if (!AnyWindowOpen() && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::quit();
}

} // namespace

int RunProgram()
{
    ClearProgramEnding();
    endedBySystem = false;
    const EndRequests endRequests(endAsTheSystemAsks);
    Main();
    const int result = !ProgramEnding() && AnyWindowOpen() ? QApplication::exec() : 0;
    // Ended from within (EndProgram), staff still at work are logged out; the database may be the
    // reason for the end, so a failure to write it is not shown.
    if (ProgramEnding() && !endedBySystem && frm_Main::StaffAtWork())
        TryWriteLog(StaffLogin, "log out");
    return result;
}

bool AnyWindowOpen()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            return true;
    return false;
}

void ActivatePrevInstance()
{
    if (guard->ActivateEarlier())
        EndProgram();
}

void Main() { startUp(false); }
