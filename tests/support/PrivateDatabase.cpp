#include "PrivateDatabase.h"

#include "Db.h"
#include "Globals.h"
#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

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

int Port() { return env("PALLOWIN_DB_PORT", "3417").toInt(); }

QString ConnectionString(int port)
{
    return BuildConnectionString("127.0.0.1", QString::number(port), env("PALLOWIN_DB_USER", "pallowin"),
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

void LoadDemoBookings() { RunClient("USE posdb;\nsource " PALLOWIN_SOURCE_DIR "/db/demo_bookings.sql\n"); }

namespace {

// Whether every thread of the process has come to a stop.
bool allThreadsStopped(long long pid)
{
    const QDir tasks("/proc/" + QString::number(pid) + "/task");
    const QStringList threads = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& thread : threads) {
        QFile stat(tasks.filePath(thread + "/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // The state follows the parenthesised command name: "pid (name) T ...".
        const QByteArray line = stat.readAll();
        const qsizetype close = line.lastIndexOf(')');
        if (close < 0 || close + 2 >= line.size() || (line[close + 2] != 'T' && line[close + 2] != 't'))
            return false;
    }
    return !threads.isEmpty();
}

} // namespace

Frozen::Frozen() : m_pid(serverPid())
{
    // Should the test itself hang and be killed, the server still goes on within a minute. The
    // guard writes nowhere, so that the test's runner does not wait for it.
    QProcess backstop;
    backstop.setProgram("sh");
    backstop.setArguments({"-c", "sleep 60; kill -CONT " + QString::number(m_pid)});
    backstop.setStandardOutputFile(QProcess::nullDevice());
    backstop.setStandardErrorFile(QProcess::nullDevice());
    backstop.startDetached(&m_backstop);
    if (::kill(static_cast<pid_t>(m_pid), SIGSTOP) != 0)
        throw std::runtime_error("the private server cannot be stopped");
    // The signal stops each thread as it next runs; the test goes on once none can answer.
    for (int i = 0; i < 500 && !allThreadsStopped(m_pid); ++i)
        QThread::msleep(10);
    if (!allThreadsStopped(m_pid))
        throw std::runtime_error("the private server did not stop");
}

// The backstop goes too: its late SIGCONT would let the server answer in the middle of another
// test's freeze.
Frozen::~Frozen()
{
    ::kill(static_cast<pid_t>(m_pid), SIGCONT);
    if (m_backstop > 0)
        ::kill(static_cast<pid_t>(m_backstop), SIGKILL);
}

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
