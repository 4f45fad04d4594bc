#pragma once

#include "EndProgram.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"
#include "TempWindowsDir.h"
#include "frm_Login.h"
#include "frm_Main.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>

// A station on the private demo database, with a settings file and a login picture of its own;
// the error window is replaced by a list of the tasks that failed.
class StartupTest : public DemoDatabaseTest {
protected:
    void SetUp() override
    {
        DemoDatabaseTest::SetUp();
        ClearProgramEnding();
        QImage(40, 30, QImage::Format_RGB32).save(windows.path() + "/front.png");
        picture = QDir(QCoreApplication::applicationDirPath()).relativeFilePath(windows.path() + "/front.png");
        FrontPictureFile = picture;
        SetErrorDisplayHandler([this](const VbError& e) {
            failures << CurrentTask;
            numbers.push_back(e.number());
        });
    }
    void TearDown() override
    {
        SetErrorDisplayHandler(nullptr);
        frm_Login::Unload();
        frm_Main::Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The settings of a station that reaches the private server, with extra [System] lines; the
    // main window's plans and header show the login picture, with an outline for every court.
    QString stationSettings(const QString& extra = {}) const
    {
        QString outlines = "[HotSpot]\n";
        for (int i = 0; i < MaxCourts; ++i)
            outlines += "Coord" + QString::number(i) + "=" + QString::number(i) + ", 1, " + QString::number(i + 1) + ", 10\n";
        return "[System]\nhour_start=8\nhour_end=2\npicture_front=" + picture +
               "\ndatabase_server=127.0.0.1\ndatabase_port=" + qEnvironmentVariable("PALLOWIN_DB_PORT", "3417") +
               "\ndatabase_user=pallowin\ndatabase_password=pallowin\npitch0=Court A\n" + extra +
               "[Layout]\nImage=" + picture + "\n[TopHeader]\nImage=" + picture + "\n[WaitingList]\nImage=" +
               picture + "\n" + outlines + "[HotSpot2]\nCoord0=1, 1, 10, 10\n";
    }

    TempWindowsDir windows;
    QString picture;
    ScriptedPrompter prompter;
    QStringList failures;
    std::vector<long> numbers;
};
