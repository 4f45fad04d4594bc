#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

// What every benchmark of the program shares: a run as a station of its own, the generated centre
// in its own database, posdb_bench (the tests' posdb is untouched), and the timing against one bare
// connection.

// One benchmark program's run as a station of its own: the offscreen platform unless another is
// chosen, the application, a Windows directory in a temporary folder for its settings file (never
// the user's own), and an error window and message boxes that end the run with their text, as
// nobody is there to click them away.
class BenchRun {
public:
    BenchRun(int& argc, char** argv);
    ~BenchRun();
    QString WindowsDir() const { return m_windows.path(); }
    void WriteSettings(const QString& text) const;

private:
    QTemporaryDir m_windows;
    std::unique_ptr<QApplication> m_app;
};

// The settings of a counter of the generated centre that opens the main window: the demo's
// pictures with an outline for each of the sixteen courts, verification off, and the sections given.
QString CentreSettings(const QString& extra = {});

QString BenchEnv(const char* name, const QString& fallback);
// Runs SQL through the server's own client on the private server.
void RunBenchClient(const QString& sql);
// Points ConnectionString at posdb_bench and loads the centre unless it is there already.
void OpenBenchCentre();

double Median(std::vector<double> v);
// One bare connection and one keyed query: the floor every operation stands on.
double BareMilliseconds();

// The bare connection and query itself, for the report.
void BM_BareConnectionAndQuery(benchmark::State& state);

// Times each iteration by hand, so that set-up between iterations stays out, and reports the
// median and its ratio to the bare connection.
template <class Setup, class Work>
void Measure(benchmark::State& state, Setup setup, Work work)
{
    std::vector<double> times;
    for (auto _ : state) {
        setup();
        QElapsedTimer t;
        t.start();
        work();
        const double ms = t.nsecsElapsed() / 1e6;
        times.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
    }
    const double m = Median(times);
    state.counters["median_ms"] = m;
    state.counters["x_bare"] = m / BareMilliseconds();
}
