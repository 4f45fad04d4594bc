#pragma once

#include <QString>
#include <vector>

// The realistic centre the benchmarks run on: generated once into its own database, posdb_bench,
// so the tests' posdb is untouched.

QString BenchEnv(const char* name, const QString& fallback);
// Points ConnectionString at posdb_bench and loads the centre unless it is there already.
void PrepareCentre();
// The middle value of the measurements.
double Median(std::vector<double> values);
