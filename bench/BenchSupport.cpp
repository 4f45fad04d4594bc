#include "BenchSupport.h"

#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"
#include "Settings.h"
#include "VbError.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>

namespace {

class FailingPrompter : public Prompter {
public:
    int MsgBox(const QString& prompt, int, const QString& title) override
    {
        qFatal("a message box would wait for a click: %s: %s", qPrintable(title), qPrintable(prompt));
    }
    QString InputBox(const QString& prompt, const QString& title, const QString&) override
    {
        qFatal("an input box would wait for an answer: %s: %s", qPrintable(title), qPrintable(prompt));
    }
};

FailingPrompter failing;

} // namespace

BenchRun::BenchRun(int& argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!m_windows.isValid())
        qFatal("no temporary folder for the settings file: %s", qPrintable(m_windows.errorString()));
    qputenv("WINDIR", m_windows.path().toLocal8Bit());
    m_app = std::make_unique<QApplication>(argc, argv);
    SetPrompter(&failing);
    SetErrorDisplayHandler(
        [](const VbError& e) { qFatal("Error while %s: %s", qPrintable(CurrentTask), qPrintable(e.description())); });
}

BenchRun::~BenchRun()
{
    SetErrorDisplayHandler(nullptr);
    SetPrompter(nullptr);
}

void BenchRun::WriteSettings(const QString& text) const
{
    QFile file(m_windows.path() + "/" + IniFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        qFatal("the settings file %s cannot be written", qPrintable(file.fileName()));
}

QString CentreSettings(const QString& extra)
{
    const QString db = QDir(QCoreApplication::applicationDirPath()).relativeFilePath(PALLOWIN_SOURCE_DIR "/db");
    QString text = "[System]\nNoVerification=1\n[Layout]\nImage=" + db +
                   "/floorplan.png\nHeight=4950\nWidth=7200\n[TopHeader]\nImage=" + db +
                   "/header.png\nHeight=960\nWidth=13500\n[WaitingList]\nImage=" + db + "/waitinglist.png\n[HotSpot]\n";
    for (int i = 0; i < MaxCourts; ++i)
        text += "Coord" + QString::number(i) + "=" + QString::number(10 + 28 * i) + ", 10, " +
                QString::number(36 + 28 * i) + ", 100\n";
    return text + "[HotSpot2]\nCoord0=10, 10, 235, 190\nCoord1=245, 10, 470, 190\n" + extra;
}

QString BenchEnv(const char* name, const QString& fallback)
{
    const QString v = qEnvironmentVariable(name);
    return v.isEmpty() ? fallback : v;
}

void RunBenchClient(const QString& sql)
{
    QProcess client;
    client.start("mariadb", {"--protocol=socket",
                             "--socket=" + BenchEnv("PALLOWIN_DB_SOCKET", PALLOWIN_SOURCE_DIR "/build/mariadb/mysqld.sock"),
                             "-uroot", "--batch"});
    client.waitForStarted();
    client.write(sql.toUtf8());
    client.closeWriteChannel();
    client.waitForFinished(-1);
    if (client.exitCode() != 0)
        qFatal("the private server refused: %s", client.readAllStandardError().constData());
}

void OpenBenchCentre()
{
    ConnectionString = BuildConnectionString("127.0.0.1", BenchEnv("PALLOWIN_DB_PORT", "3417"),
                                             BenchEnv("PALLOWIN_DB_USER", "pallowin"),
                                             BenchEnv("PALLOWIN_DB_PASSWORD", "pallowin"))
                           .replace("DATABASE=posdb;", "DATABASE=posdb_bench;");
    try {
        if (Db::Query("SELECT COUNT(*) FROM tbl_booking").Fields(0).Integer() > 500000)
            return;
    } catch (const VbError&) {
    }
    qInfo("generating the centre into posdb_bench ...");
    RunBenchClient("DROP DATABASE IF EXISTS posdb_bench; CREATE DATABASE posdb_bench CHARACTER SET utf8mb4; USE posdb_bench;\n"
                   "source " PALLOWIN_SOURCE_DIR "/db/schema.sql\nsource " PALLOWIN_SOURCE_DIR "/bench/centre.sql\n");
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double BareMilliseconds()
{
    static const double bare = [] {
        std::vector<double> times;
        for (int i = 0; i < 200; ++i) {
            QElapsedTimer t;
            t.start();
            Db::Open()->Query("SELECT * FROM tbl_booking WHERE b_datetime='2026-06-15 14:00:00' AND b_field=3");
            times.push_back(t.nsecsElapsed() / 1e6);
        }
        return Median(times);
    }();
    return bare;
}

void BM_BareConnectionAndQuery(benchmark::State& state)
{
    Measure(state, [] {}, [] {
        Db::Open()->Query("SELECT * FROM tbl_booking WHERE b_datetime='2026-06-15 14:00:00' AND b_field=3");
    });
}
