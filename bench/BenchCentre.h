#pragma once

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <vector>

// The generated five-year centre the benchmarks run on, in its own database posdb_bench (made once,
// so the tests' posdb is untouched), with the test centre's settings and the clock at 2027-01-01
// 09:00; everything from 2027 on is free.
void OpenBenchCentre();

double Median(std::vector<double> v);

// One bare connection and one keyed query: the floor every operation stands on.
double BareMilliseconds();

// Times each iteration by hand, so that set-up between iterations stays out, and reports the median.
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
