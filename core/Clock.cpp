#include "Clock.h"

namespace {
QDateTime fixedNow;
}

QDateTime Now() { return fixedNow.isValid() ? fixedNow : QDateTime::currentDateTime(); }

void SetNow(const QDateTime& fixed) { fixedNow = fixed; }

void ResetNow() { fixedNow = QDateTime(); }

QString DbDateTime(const QDateTime& when) { return when.toString("yyyy-MM-dd HH:mm:ss"); }
