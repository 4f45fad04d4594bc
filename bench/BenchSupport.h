#pragma once

#include <QElapsedTimer>
#include <QString>

#include <benchmark/benchmark.h>

#include <vector>

// What every benchmark of the program shares: the generated centre in its own database,
// posdb_bench (the tests' posdb is untouched), and the timing against one bare connection.

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
