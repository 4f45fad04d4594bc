#include "PrivateDatabase.h"

#include "Db.h"
#include "Globals.h"
#include "Settings.h"

#include <QFile>
#include <QProcess>

#include <csignal>

namespace PrivateDatabase {

namespace {

QString env(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

QString socket() { return env("PALLOWIN_DB_SOCKET", QStringLiteral(PALLOWIN_DEFAULT_DB_DIR "/mysqld.sock")); }

QString serverDirectory() { return env("PALLOWIN_DB_DIR", QStringLiteral(PALLOWIN_DEFAULT_DB_DIR)); }

long long serverPid()
{
    QFile file(serverDirectory() + "/mysqld.pid");
    const long long pid = file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : 0;
    if (pid <= 0)
        throw std::runtime_error("the private server's process number cannot be read from " +
                                 file.fileName().toStdString());
    return pid;
}

} // namespace

QString ConnectionString()
{
    return BuildConnectionString("127.0.0.1", env("PALLOWIN_DB_PORT", "3417"), env("PALLOWIN_DB_USER", "pallowin"),
                                 env("PALLOWIN_DB_PASSWORD", "pallowin"));
}

void RunClient(const QString& sql)
{
    QProcess client;
    client.start("mariadb", {"--protocol=socket", "--socket=" + socket(), "-uroot", "--batch"});
    if (!client.waitForStarted(10000))
        throw std::runtime_error("the mariadb client cannot be started");
    client.write(sql.toUtf8());
    client.closeWriteChannel();
    client.waitForFinished(60000);
    if (client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0)
        throw std::runtime_error(("the private server refused: " + client.readAllStandardError() +
                                  "\n(is it running? tools/test starts it; tools/db start does by hand)")
                                     .toStdString());
}

QString TableFile(const QString& fileName) { return serverDirectory() + "/data/posdb/" + fileName; }

void Reload(bool withDemo)
{
    const QString source = QStringLiteral(PALLOWIN_SOURCE_DIR);
    QString sql = "DROP DATABASE IF EXISTS posdb; CREATE DATABASE posdb CHARACTER SET utf8mb4; USE posdb;\n"
                  "source " + source + "/db/schema.sql\n";
    if (withDemo)
        sql += "source " + source + "/db/demo.sql\n";
    RunClient(sql);
}

Frozen::Frozen() : m_pid(serverPid())
{
    // Should the test itself hang and be killed, the server still goes on within a minute.
    QProcess::startDetached("sh", {"-c", "sleep 60; kill -CONT " + QString::number(m_pid)});
    if (::kill(static_cast<pid_t>(m_pid), SIGSTOP) != 0)
        throw std::runtime_error("the private server cannot be stopped");
}

Frozen::~Frozen() { ::kill(static_cast<pid_t>(m_pid), SIGCONT); }

} // namespace PrivateDatabase

void DatabaseTest::SetUp()
{
    PrivateDatabase::Reload(withDemo());
    ::ConnectionString = PrivateDatabase::ConnectionString();
    CounterNumber = 1;
    CurrentTask.clear();
}

QString DatabaseTest::scalar(const QString& query)
{
    Recordset rs = Db::Query(query);
    return rs.EOF_() ? QString() : rs.Fields(0).Value();
}

long long DatabaseTest::count(const QString& tableAndCondition)
{
    return scalar("SELECT COUNT(*) FROM " + tableAndCondition).toLongLong();
}
