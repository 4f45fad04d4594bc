#include "Main.h"
#include "DatabaseSetup.h"
#include "EndProgram.h"
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

namespace {

SingleInstance* guard = nullptr;

} // namespace

int RunProgram()
{
    ClearProgramEnding();
    Main();
    const int result = !ProgramEnding() && AnyWindowOpen() ? QApplication::exec() : 0;
    // Ended from within (EndProgram), staff still at work are logged out; the database may be the
    // reason for the end, so a failure to write it is not shown.
    if (ProgramEnding() && frm_Main::StaffAtWork())
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

void Main()
{
    frm_Main::StartOver = [] { Main(); };
    try {
        if (!guard) {
            guard = new SingleInstance(qApp);
            if (!guard->Claim())
                ActivatePrevInstance();
        }
        // Each step may end the program (its error window's Close after a lost database).
        if (!ProgramEnding()) {
            ReadStationSettings();
            CheckDatabase();
        }
        if (!ProgramEnding())
            InitDatabase(CounterCount);
        if (!ProgramEnding())
            frm_Login::Default().show();
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
    // Entered again after a hand-over, from within the running event loop.
    if (!AnyWindowOpen() && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::quit();
}
