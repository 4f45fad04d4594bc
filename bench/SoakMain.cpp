// The soak: four stations work one busy day at once on a centre of their own, then the database alone
// is checked for what must never happen. Run by hand against the private server of tools/db:
//   cmake -B build -DPALLOWIN_BENCH=ON && cmake --build build --target soak
//   export PALLOWIN_DB_PORT=<port>; source tools/env.sh; tools/db start
//   build/bench/soak --seed 7    a day of four stations (--actions 1500 each, --examples 2 rows of each
//                                anomaly, --yes to answer every question Yes); exit 1 on any anomaly
//   build/bench/soak --self-check    a sound day, then one planted fault of each class
// Each run loads posdb_soak afresh from db/schema.sql and db/demo.sql, writes every station's
// pallowin.ini into a folder of its own and starts one copy of itself per station.

#include "BenchSupport.h"
#include "Soak.h"

#include "Db.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

namespace {

// A run ends within two minutes or fails.
constexpr int DeadlineMs = 115000;

QString stationFolder(const QTemporaryDir& root, int station)
{
    return root.filePath("station" + QString::number(station));
}

// Every station's settings: the demo centre's six courts with court 0 holding courts 1 and 2, no
// verification, on posdb_soak of the private server.
void writeSettings(const QTemporaryDir& root)
{
    for (int station = 1; station <= SoakStations; ++station) {
        QString text = "[System]\nCourtType=2\ncounter_number=" + QString::number(station) +
                       "\ncounter_count=" + QString::number(SoakStations) +
                       "\nhour_start=8\nhour_end=2\ndatabase_server=127.0.0.1\ndatabase_port=" +
                       qEnvironmentVariable("PALLOWIN_DB_PORT") +
                       "\ndatabase_user=" + BenchEnv("PALLOWIN_DB_USER", "pallowin") +
                       "\ndatabase_password=" + BenchEnv("PALLOWIN_DB_PASSWORD", "pallowin") +
                       "\nsoak_database=posdb_soak\nPerPersonCharging=0\nNoVerification=1\n";
        for (int court = 0; court < 6; ++court)
            text += QString("pitch%1=Court %2\ndisplay%1=Court %2\n").arg(court).arg(court + 1);
        text += "[Shared]\nShared0=0&1\nShared1=0&2\n[SpecialGroup]\n1=Schools\n";
        QDir().mkpath(stationFolder(root, station));
        QFile file(stationFolder(root, station) + "/pallowin.ini");
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
}

void loadCentre()
{
    QString staff;
    for (int station = 1; station <= SoakStations; ++station)
        staff += QString(station > 1 ? ", " : "") + "('staff" + QString::number(station) + "', 'soak', 0, '')";
    RunBenchClient("DROP DATABASE IF EXISTS posdb_soak; CREATE DATABASE posdb_soak CHARACTER SET utf8mb4;\n"
                   "USE posdb_soak;\nsource " PALLOWIN_SOURCE_DIR "/db/schema.sql\n"
                   "source " PALLOWIN_SOURCE_DIR "/db/demo.sql\n"
                   "INSERT INTO tbl_staff (st_login, st_password, st_access, st_lastlogin) VALUES " + staff + ";\n");
}

// The centre loaded afresh and this process reading station 1's settings.
void prepare(const QTemporaryDir& root)
{
    // The client reaches the server by its socket, the stations by its port: both must be the private
    // server's, never another one that listens on the default port.
    if (qEnvironmentVariableIsEmpty("PALLOWIN_DB_PORT") || qEnvironmentVariableIsEmpty("PALLOWIN_DB_SOCKET"))
        qFatal("soak: export PALLOWIN_DB_PORT and source tools/env.sh first, so that both reach the private server");
    writeSettings(root);
    loadCentre();
    qputenv("WINDIR", stationFolder(root, 1).toLocal8Bit());
    LoadStationSettings();
    SnapshotStartOfDay(*Db::Open());
}

int runStation(uint32_t seed, int actions, bool yes)
{
    LoadStationSettings();
    StartStation();
    std::printf("ready\n");
    std::fflush(stdout);
    std::string go;
    std::getline(std::cin, go);
    for (const auto& [what, count] : RunStationDay(seed, actions, yes))
        std::printf("%lld\t%s\n", count, qPrintable(what));
    return 0;
}

[[noreturn]] void fail(std::vector<std::unique_ptr<QProcess>>& stations, const QString& why)
{
    for (auto& p : stations)
        if (p->state() != QProcess::NotRunning)
            p->kill();
    std::fprintf(stderr, "soak: %s\n", qPrintable(why));
    std::exit(2);
}

void print(const Tally& tally, const QString& prefix, const char* heading)
{
    std::vector<std::pair<long long, QString>> lines;
    for (const auto& [what, count] : tally)
        if (what.startsWith(prefix) && (!prefix.isEmpty() || !what.contains(": ")))
            lines.push_back({count, what.mid(prefix.size())});
    std::sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::printf("%s\n", heading);
    for (const auto& [count, what] : lines)
        std::printf("%8lld  %s\n", count, qPrintable(what));
}

int soak(uint32_t seed, int actions, bool yes, size_t examples)
{
    QElapsedTimer run;
    run.start();
    QTemporaryDir root;
    prepare(root);

    std::vector<std::unique_ptr<QProcess>> stations;
    for (int station = 1; station <= SoakStations; ++station) {
        auto& p = stations.emplace_back(std::make_unique<QProcess>());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("WINDIR", stationFolder(root, station));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments{"--station", "--seed", QString::number(seed * 1000u + static_cast<uint32_t>(station)),
                              "--actions", QString::number(actions)};
        if (yes)
            arguments << "--yes";
        p->start(QCoreApplication::applicationFilePath(), arguments);
    }
    // Every station has started up before any begins its day.
    for (size_t i = 0; i < stations.size(); ++i) {
        QProcess& p = *stations[i];
        while (!p.canReadLine())
            if (!p.waitForReadyRead(std::max<qint64>(1, DeadlineMs - run.elapsed())))
                fail(stations, "station " + QString::number(i + 1) + " did not start up");
        if (p.readLine().trimmed() != "ready")
            fail(stations, "station " + QString::number(i + 1) + " did not start up");
    }
    QElapsedTimer day;
    day.start();
    // Written through at once: a QProcess otherwise sends it only when the driver waits on that station.
    for (auto& p : stations) {
        p->write("go\n");
        p->waitForBytesWritten();
    }
    Tally tally;
    for (size_t i = 0; i < stations.size(); ++i) {
        QProcess& p = *stations[i];
        if (!p.waitForFinished(static_cast<int>(std::max<qint64>(1, DeadlineMs - run.elapsed()))))
            fail(stations, "station " + QString::number(i + 1) + " did not finish its day within two minutes");
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            fail(stations, "station " + QString::number(i + 1) + " failed");
        for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
            if (const qsizetype tab = line.indexOf('\t'); tab > 0)
                tally[QString::fromUtf8(line.mid(tab + 1))] += line.left(tab).toLongLong();
    }
    const double dayS = day.elapsed() / 1000.0;

    QElapsedTimer checking;
    checking.start();
    const Anomalies anomalies = CheckDay(*Db::Open());
    std::printf("soak seed %u%s: %d stations x %d actions; day %.1f s, checks %.1f s, whole run %.1f s\n", seed,
                yes ? " (every question answered Yes)" : "", SoakStations, actions, dayS,
                checking.elapsed() / 1000.0, run.elapsed() / 1000.0);
    print(tally, "action: ", "actions");
    print(tally, "", "outcomes");
    print(tally, "shown: ", "texts shown");
    print(tally, "asked: ", "texts asked");
    print(tally, "database error: ", "database errors");
    size_t total = 0;
    std::printf("anomalies\n");
    for (const QString& anomaly : AnomalyClasses()) {
        const auto found = anomalies.find(anomaly);
        const size_t n = found == anomalies.end() ? 0 : found->second.size();
        total += n;
        std::printf("%8zu  %s\n", n, qPrintable(anomaly));
        for (size_t i = 0; i < std::min(n, examples); ++i)
            std::printf("          e.g. %s\n", qPrintable(found->second[i]));
    }
    std::printf("%8zu  anomalies in all\n", total);
    return total == 0 ? 0 : 1;
}

int selfCheck()
{
    QTemporaryDir root;
    prepare(root);
    StartStation();
    RunSoundDay();
    return SelfCheck(*Db::Open()) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Four stations working one busy day at once, then checks of the database.");
    parser.addHelpOption();
    const QCommandLineOption seed("seed", "The seed of the day.", "n");
    const QCommandLineOption actions("actions", "Actions per station (1500).", "n", "1500");
    const QCommandLineOption examples("examples", "Rows shown of each anomaly class (2).", "n", "2");
    const QCommandLineOption yes("yes", "Answer every question Yes: what remains no answer explains.");
    const QCommandLineOption selfCheckOption("self-check", "Plant one fault of each class into a sound day.");
    const QCommandLineOption station("station", "Run as one station (started by the soak itself).");
    parser.addOptions({seed, actions, examples, yes, selfCheckOption, station});
    parser.process(app);
    try {
        if (parser.isSet(station))
            return runStation(parser.value(seed).toUInt(), parser.value(actions).toInt(), parser.isSet(yes));
        if (parser.isSet(selfCheckOption))
            return selfCheck();
        if (!parser.isSet(seed))
            parser.showHelp(2);
        return soak(parser.value(seed).toUInt(), parser.value(actions).toInt(), parser.isSet(yes),
                    parser.value(examples).toUInt());
    } catch (const VbError& e) {
        std::fprintf(stderr, "soak: %s\n", qPrintable(e.description()));
        return 2;
    }
}
