#pragma once

#include <QDateTime>

// "Now" for every rule of the program; tests set it.
QDateTime Now();
void SetNow(const QDateTime& fixed);
void ResetNow();

// "yyyy-mm-dd hh:mm:ss", the form of every point in time the database holds.
QString DbDateTime(const QDateTime& when);
