#include "BenchCentre.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "Settings.h"
#include "Verification.h"
#include "VbError.h"

#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>

namespace {

QString env(const char* name, const QString& fallback)
{
    const QString v = qEnvironmentVariable(name);
    return v.isEmpty() ? fallback : v;
}

void runClient(const QString& sql)
{
    QProcess client;
    client.start("mariadb", {"--protocol=socket",
                             "--socket=" + env("PALLOWIN_DB_SOCKET", PALLOWIN_SOURCE_DIR "/build/mariadb/mysqld.sock"),
                             "-uroot", "--batch"});
    client.waitForStarted();
    client.write(sql.toUtf8());
    client.closeWriteChannel();
    client.waitForFinished(-1);
    if (client.exitCode() != 0)
        qFatal("the private server refused: %s", client.readAllStandardError().constData());
}

// Loads the centre unless posdb_bench already holds it.
void prepareCentre()
{
    try {
        if (Db::Query("SELECT COUNT(*) FROM tbl_booking").Fields(0).Integer() > 500000)
            return;
    } catch (const VbError&) {
    }
    qInfo("generating the centre into posdb_bench ...");
    runClient("DROP DATABASE IF EXISTS posdb_bench; CREATE DATABASE posdb_bench CHARACTER SET utf8mb4; USE posdb_bench;\n"
              "source " PALLOWIN_SOURCE_DIR "/db/schema.sql\nsource " PALLOWIN_SOURCE_DIR "/bench/centre.sql\n");
}

} // namespace

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

void OpenBenchCentre()
{
    ConnectionString = BuildConnectionString("127.0.0.1", env("PALLOWIN_DB_PORT", "3417"),
                                             env("PALLOWIN_DB_USER", "pallowin"), env("PALLOWIN_DB_PASSWORD", "pallowin"))
                           .replace("DATABASE=posdb;", "DATABASE=posdb_bench;");
    HourStart = 8;
    HourEnd = 2;
    SharedCourtPairs[0] = "0&1";
    SharedCourtPairs[1] = "0&2";
    SkipVerification = 1;
    SetNow(QDateTime(QDate(2027, 1, 1), QTime(9, 0)));
    prepareCentre();
    Db::Execute("DELETE FROM tbl_booking WHERE b_datetime >= '2027'");
    IsUserAllowed(false);
}
