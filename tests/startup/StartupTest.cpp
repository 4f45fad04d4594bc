#include "Main.h"
#include "SingleInstance.h"
#include "StartupFixture.h"

#include "CaptureTestSupport.h"
#include "Db.h"
#include "EndProgram.h"
#include "LoginStatus.h"
#include "ModalDialog.h"
#include "UnreadableFile.h"
#include "frm_ErrorDisplay.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <csignal>
#include <gtest/gtest.h>

namespace {

using Startup = StartupTest;

// Runs the program with act queued into its event loop; false when the loop had to be stopped
// from outside because the program did not end by itself.
bool endsByItself(const std::function<void()>& act)
{
    bool stuck = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        stuck = true;
        QCoreApplication::exit(1);
    });
    watchdog.start(10000);
    QObject acting;
    QTimer::singleShot(0, &acting, act);
    RunProgram();
    return !stuck;
}

// Signs the demo administrator in at the login window, which opens the main window.
void signInAsAdmin()
{
    frm_Login& login = frm_Login::Default();
    Control<QLineEdit>(&login, "txtLogin")->setText("admin");
    Control<QLineEdit>(&login, "txtPassword")->setText("admin");
    Control<QPushButton>(&login, "btn_Go")->click();
}

TEST_F(Startup, AFirstStartWritesTheDefaultsAndStopsAtTheOpeningHour)
{
    Main();
    EXPECT_EQ(numbers, std::vector<long>{VbErrors::TypeMismatch});
    EXPECT_FALSE(frm_Login::IsLoaded());
    EXPECT_FALSE(AnyWindowOpen());
    EXPECT_EQ(windows.iniText(), "[System]\nCourtType=1\ncounter_number=1\ncounter_count=1\n"
                                 "picture_front=picture_front\npicture_logo=picture_logo\n"
                                 "hour_start=StartOfWorkingHour\n");
}

TEST_F(Startup, ProvisionsTheConfiguredStationsAndOpensTheLogin)
{
    windows.writeIni(stationSettings("CourtType=3\ncounter_number=2\ncounter_count=3\n"));
    Main();
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();
    EXPECT_TRUE(prompter.asked().empty());
    EXPECT_EQ(CounterNumber, 2);
    EXPECT_EQ(ShownCounter, 2);
    EXPECT_EQ(CounterCount, 3);
    EXPECT_EQ(LastCourtTypeIndex, 2);
    EXPECT_EQ(LastCourtIndex, 0);
    EXPECT_EQ(count("tbl_system"), 3);
    EXPECT_EQ(count("information_schema.tables WHERE table_schema='posdb' AND table_name='tbl_booking_clipboard3'"),
              1);
    ASSERT_TRUE(frm_Login::IsLoaded());
    EXPECT_TRUE(frm_Login::Default().isVisible());

    frm_Login::Unload();
    windows.writeIni(stationSettings("CourtType=x\ncounter_count=1\n"));
    Main();
    EXPECT_EQ(LastCourtTypeIndex, -1) << "a type count that is no number means no court types";
    EXPECT_EQ(CounterNumber, 1) << "a second start reads the settings afresh";
    EXPECT_TRUE(frm_Login::IsLoaded());
}

TEST_F(Startup, TheProgramEndsOnceNoWindowIsLeft)
{
    // No window at all: the start-up stops at the opening hour and the program ends at once.
    bool acted = false;
    EXPECT_TRUE(endsByItself([&] { acted = true; }));
    EXPECT_FALSE(acted) << "no event loop ran";
    EXPECT_EQ(failures, QStringList{""});

    // The main window unloaded, as the end of a shift does, is the last window.
    windows.writeIni(stationSettings());
    EXPECT_TRUE(endsByItself([] {
        signInAsAdmin();
        ASSERT_TRUE(frm_Main::IsLoaded());
        frm_Main::Unload();
    }));

    // A hand-over whose new start fails leaves only its own dialog, and then nothing.
    failures.clear();
    EXPECT_TRUE(endsByItself([this] {
        frm_Login::Unload();
        frm_Main::Default().show();
        QDialog handOver;
        QTimer::singleShot(0, &handOver, [this, &handOver] {
            frm_Main::Unload();
            windows.writeIni(stationSettings("counter_number=9\n"));
            Main();
            handOver.accept();
        });
        handOver.exec();
    }));
    EXPECT_EQ(failures.size(), 1);
    EXPECT_FALSE(frm_Login::IsLoaded());
}

TEST_F(Startup, TheExitKeyLogsTheStaffOutOnceAndTheSystemEndsTheProgramWithEveryCameraFileFinished)
{
    windows.writeIni(stationSettings());
    EXPECT_TRUE(endsByItself([] {
        signInAsAdmin();
        ASSERT_TRUE(frm_Main::IsLoaded());
        QTest::keyClick(frm_Main::Default().windowHandle(), Qt::Key_F, Qt::AltModifier);
    }));
    EXPECT_EQ(count("tbl_log WHERE log_staffname='admin' AND log_do='log out'"), 1);

    // The desktop's shutdown ends it as a closed window does, while both cameras record.
    frm_Main::Unload();
    const QString before = QDir::currentPath();
    QDir::setCurrent(windows.path());
    qputenv("CORVANE_TEST_DEVICES", "2");
    windows.writeIni(stationSettings() + "[CCTV]\nCam0=Enabled\nDevice0=0\nCamInterval0=15\nCam1=Enabled\n"
                                         "Device1=1\nCamInterval1=15\n");
    EXPECT_TRUE(endsByItself([] { signInAsAdmin(); QTest::qWait(2000); raise(SIGTERM); }));
    const QDir video("Video");
    EXPECT_EQ(video.entryList(QDir::Files).size(), 2);
    for (const QString& file : video.entryList(QDir::Files)) {
        const std::string path = video.absoluteFilePath(file).toStdString();
        const auto info = capture_test::WaitUntilClosed(path) ? capture_test::Discover(path) : std::nullopt;
        EXPECT_GT(info ? info->seconds : 0, 1.5) << path << " plays to its length";
    }
    QDir::setCurrent(before);
    EXPECT_EQ(count("tbl_log WHERE log_do='log out'"), 1) << "no one more was logged out";
}

TEST_F(Startup, AHandOverStartsAgainFromTheSettingsFileWithAFreshLoginWindow)
{
    windows.writeIni(stationSettings());
    Main();
    signInAsAdmin();
    ASSERT_TRUE(frm_Main::IsLoaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    frm_Main::Unload();
    windows.writeIni(stationSettings("pitch1=Court B\ncounter_count=2\n").replace("hour_start=8", "hour_start=9"));
    Main();
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();
    EXPECT_EQ(HourStart, 9);
    EXPECT_EQ(LastCourtIndex, 1);
    EXPECT_EQ(CourtNames[1], "Court B");
    EXPECT_EQ(CounterCount, 2);
    EXPECT_EQ(count("tbl_system"), 2) << "the new station was provisioned";
    ASSERT_TRUE(frm_Login::IsLoaded());
    frm_Login& again = frm_Login::Default();
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(Control<QLineEdit>(&again, "txtLogin")->text(), "");
    EXPECT_EQ(Control<QLineEdit>(&again, "txtPassword")->text(), "");
    EXPECT_EQ(Control<QLabel>(&again, "lbl_Task")->text(), "");
    SetLoginStatus("Initialising...");
    EXPECT_EQ(Control<QLabel>(&again, "lbl_Task")->text(), "Initialising...") << "the status line is the new window's";
}

TEST_F(Startup, StationNumbersThatDoNotFitStopTheStartWithAClearText)
{
    for (const QString& stations : {QString("counter_number=3\ncounter_count=2\n"),
                                    QString("counter_number=0\ncounter_count=2\n"),
                                    QString("counter_number=two\n"), QString("counter_count=99999\n"),
                                    QString("counter_number=1.5\ncounter_count=2\n"),
                                    QString("counter_number=\ncounter_count=2\n"), QString("counter_count=\n")}) {
        SCOPED_TRACE(stations.toStdString());
        failures.clear();
        QString description;
        SetErrorDisplayHandler([&](const VbError& e) {
            failures << CurrentTask;
            description = e.description();
        });
        windows.writeIni(stationSettings(stations));
        Main();
        EXPECT_EQ(failures.size(), 1);
        EXPECT_TRUE(description.contains(stations.section('\n', 0, 0) + ")")) << description.toStdString();
        EXPECT_FALSE(frm_Login::IsLoaded());
    }
    EXPECT_EQ(count("tbl_system"), 0) << "nothing was provisioned";
}

TEST_F(Startup, ALostDatabaseEndsTheStartButNotTheStationAtWork)
{
    // At start-up: nothing after the check runs, and no login window is shown.
    windows.writeIni(stationSettings().replace("database_password=pallowin", "database_password=wrong"));
    SetErrorDisplayHandler([this](const VbError& e) {
        failures << CurrentTask;
        if (e.number() == VbErrors::Database)
            EndProgram();
    });
    EXPECT_TRUE(endsByItself([] {}));
    EXPECT_EQ(failures, QStringList{"checking database"});
    EXPECT_FALSE(frm_Login::IsLoaded());

    // At work: the real window's Close leaves the station as it was; it ends only when staff end it.
    windows.writeIni(stationSettings());
    SetErrorDisplayHandler(&frm_ErrorDisplay::ShowFor);
    bool stillAtWork = false;
    EXPECT_TRUE(endsByItself([&] {
        signInAsAdmin();
        ASSERT_TRUE(frm_Main::IsLoaded());
        CurrentTask = "refreshing";
        WhenModalShown([](QWidget* window) { Control<QPushButton>(window, "btn_Close")->click(); });
        ShowErrorDisplay(VbError(VbErrors::Database, "ODBC", "Lost connection to server"));
        stillAtWork = frm_Main::IsLoaded() && !ProgramEnding();
        EndProgram();
    }));
    EXPECT_TRUE(stillAtWork);
}

TEST_F(Startup, ASettingsFileThatCannotBeReadStopsTheStartAndIsLeftAsItIs)
{
    windows.writeIni(stationSettings());
    const QByteArray before = windows.iniBytes();
    QString description;
    SetErrorDisplayHandler([&](const VbError& e) { description = e.description(); });
    {
        UnreadableFile locked(windows.iniPath());
        Main();
    }
    EXPECT_TRUE(description.startsWith("The settings file " + windows.iniPath() + " exists but cannot be read ("))
        << description.toStdString();
    EXPECT_EQ(windows.iniBytes(), before);
    EXPECT_FALSE(frm_Login::IsLoaded());
    EXPECT_EQ(count("tbl_system"), 0) << "the database was not touched";
}

TEST_F(Startup, AServerThatCannotBeReachedIsReportedWhileChecking)
{
    windows.writeIni(stationSettings().replace("database_password=pallowin", "database_password=wrong"));
    Main();
    ASSERT_FALSE(failures.isEmpty());
    EXPECT_EQ(failures[0], "checking database");
    EXPECT_EQ(numbers[0], VbErrors::Database);
}

TEST_F(Startup, ASecondInstanceBringsTheFirstToTheFrontAndEnds)
{
    TempWindowsDir station;
    SingleInstance first;
    ASSERT_TRUE(first.Claim());
    QWidget window;
    window.showMinimized();
    QSignalSpy activated(&first, &SingleInstance::activated);

    QProcess second;
    second.start(PALLOWIN_EXECUTABLE, {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(activated.wait(5000));
    EXPECT_FALSE(window.isMinimized());
    EXPECT_FALSE(QFile::exists(station.iniPath())) << "the second instance read no settings";

    SingleInstance another;
    EXPECT_FALSE(another.Claim());
}

} // namespace
