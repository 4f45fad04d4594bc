// From the login's OK to a main window that answers input, on the centre of the booking benchmark
// with two test cameras recording from the start, and the share of each start-up step; run by hand:
//   cmake -B build -DPALLOWIN_BENCH=ON && cmake --build build && LD_LIBRARY_PATH=$PWD/build build/bench/main_window_bench

#include "BookingsPage.h"
#include "CctvPanel.h"
#include "CalendarPicker.h"
#include "BenchSupport.h"
#include "FloorPlan.h"
#include "SupportPage.h"
#include "WaitingListPage.h"
#include "frm_Main.h"

#include "frm_Login.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "Settings.h"
#include "SpecialGroups.h"
#include "StaffAccounts.h"
#include "StaffLog.h"
#include "StationRow.h"

#include "Profile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>

#include <cstdio>
#include <functional>

namespace {

constexpr int Runs = 30;

double timed(const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    return Median(times);
}

} // namespace

int main(int argc, char** argv)
{
    BenchRun run(argc, argv);
    qputenv("CORVANE_TEST_DEVICES", "2");
    run.WriteSettings(CentreSettings("[CCTV]\nCam0=Enabled\nDevice0= 0\nCamInterval0= 15\nCam1=Enabled\nDevice1= 1\n"
                                     "CamInterval1= 15\n"));
    // The recordings go where a station keeps them: Video\ and Setting\ below the current folder.
    QDir::setCurrent(run.WindowsDir());
    QDir().mkpath("Video");
    QDir().mkpath("Setting");
    QFile::copy(PALLOWIN_SOURCE_DIR "/capture/IsCapture.prx", "Setting/IsCapture.prx");
    OpenBenchCentre();
    Db::Execute("INSERT IGNORE INTO tbl_staff SET st_login='admin', st_password='admin', st_access=1");
    HourStart = 8;
    HourEnd = 2;
    LastCourtIndex = MaxCourts - 1;
    LastCourtTypeIndex = 1;
    FrontPictureFile = QDir(QCoreApplication::applicationDirPath()).relativeFilePath(PALLOWIN_SOURCE_DIR "/db/picture_front.png");
    for (int i = 0; i < MaxCourts; ++i)
        CourtNames[static_cast<size_t>(i)] = CourtDisplayNames[static_cast<size_t>(i)] = "Court " + QString::number(i + 1);

    // Every start names its files by the clock, and a recording is never written over: the clock
    // moves on a second for every start.
    QDateTime clock(QDate(2026, 6, 15), QTime(14, 5));
    const auto tick = [&] { SetNow(clock = clock.addSecs(1)); };
    std::vector<double> total;
    for (int i = 0; i < Runs; ++i) {
        tick();
        frm_Login& login = frm_Login::Default();
        login.findChild<QLineEdit*>("txtLogin")->setText("admin");
        login.findChild<QLineEdit*>("txtPassword")->setText("admin");
        QElapsedTimer t;
        t.start();
        login.btn_Go_Click();
        QApplication::processEvents();
        total.push_back(t.nsecsElapsed() / 1e6);
        if (frm_Main::Default().ListView_Book->topLevelItem(6)->text(2).isEmpty())
            qFatal("the grid of the centre shows no booking");
        if (!frm_Main::Default().Cctv->IsRecording(0) || !frm_Main::Default().Cctv->IsRecording(1))
            qFatal("the cameras do not record");
        frm_Main::Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const double whole = Median(total);

    tick();
    frm_Main& main = frm_Main::Default();
    BookingsPage* bookings = main.Bookings;
    const QString picture = QCoreApplication::applicationDirPath() + "/" + ReadIni("Layout", "Image", "1", IniFile);
    struct Step {
        const char* name;
        double ms;
    };
    const Step steps[] = {
        {"login's own reads and writes", timed([] {
             LoginMatches(*Db::Open(), "admin", "admin");
             SetCounterStaff(CounterNumber, "admin");
             WriteLog("admin", "logging in");
             UpdateLastLogin("admin");
         })},
        {"plan and header pictures", timed([&] {
             for (int p = 0; p < 3; ++p)
                 bookings->LayoutPlan1->LoadPicture(picture);
             QPixmap header(picture);
         })},
        {"special-group buttons", timed([] {
             for (int n : SpecialGroupsWithTables())
                 GetSpecialGroupName(n);
         })},
        {"court outlines", timed([&] {
             for (int c = 0; c <= LastCourtIndex; ++c) {
                 const QStringList coords = ReadIni("HotSpot", "Coord" + QString::number(c), "1", IniFile).split(", ");
                 for (int k = 0; k < 3; ++k)
                     bookings->LayoutPlan1->PlaceOutline(bookings->LayoutPlan1->Shape(c), coords);
             }
         })},
        {"calendars", timed([&] {
             bookings->DatePicker->SetDate(Now().date());
             main.WaitingList->DatePicker->SetDate(Now().date());
         })},
        {"shift reopened", timed([] { SetCounterStaffShiftStatus(CounterNumber, 0); })},
        {"grid: bars, rows, refresh", timed([&] {
             bookings->ListView_Book->clear();
             bookings->PrepareImageClips();
             bookings->RefreshViewInit();
             bookings->RefreshView();
         })},
        {"station label", timed([] { GetCounterStaff(CounterNumber); })},
        {"support page", timed([&] { main.Support->Fill(Profile::PathOf(IniFile)); })},
        {"cameras: both started", [&] {
             // A camera stopped for good is released after a second; the start-up finds none running.
             std::vector<double> times;
             for (int i = 0; i < 10; ++i) {
                 main.StopVideoRecording();
                 QThread::msleep(1500);
                 tick();
                 QElapsedTimer t;
                 t.start();
                 for (int camera = 0; camera < 2; ++camera)
                     main.Cctv->btn_StartRecording_Click(camera);
                 times.push_back(t.nsecsElapsed() / 1e6);
             }
             return Median(times);
         }()},
    };
    double parts = 0;
    std::printf("login OK to a window that answers input: median %.1f ms over %d runs\n", whole, Runs);
    for (const Step& step : steps) {
        std::printf("  %-32s %7.2f ms  %5.1f %%\n", step.name, step.ms, 100 * step.ms / whole);
        parts += step.ms;
    }
    std::printf("  %-32s %7.2f ms  %5.1f %%\n", "window, pages, show and paint", whole - parts,
                100 * (whole - parts) / whole);
    frm_Main::Unload();
    return 0;
}
