#include "Centre.h"

#include "Db.h"
#include "Globals.h"
#include "Settings.h"
#include "VbError.h"

#include <QProcess>
#include <algorithm>

namespace {

void runClient(const QString& sql)
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

} // namespace

QString BenchEnv(const char* name, const QString& fallback)
{
    const QString v = qEnvironmentVariable(name);
    return v.isEmpty() ? fallback : v;
}

void PrepareCentre()
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
    runClient("DROP DATABASE IF EXISTS posdb_bench; CREATE DATABASE posdb_bench CHARACTER SET utf8mb4; USE posdb_bench;\n"
              "source " PALLOWIN_SOURCE_DIR "/db/schema.sql\nsource " PALLOWIN_SOURCE_DIR "/bench/centre.sql\n");
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
