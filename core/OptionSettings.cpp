#include "OptionSettings.h"
#include "Globals.h"
#include "Settings.h"

#include "Vb.h"

#include <cmath>

namespace {

// Only 1 switches an option on, so a value too large for a number is as good as off.
int systemNumber(const QString& key)
{
    const double value = Vb::Val(ReadIni("System", key, "0", IniFile));
    return std::fabs(value) < 2147483647.0 ? Vb::CLng(value) : 0;
}

} // namespace

void ReadOptionSettings()
{
    PerPersonChargingOn = systemNumber("PerPersonCharging");
    SkipVerification = systemNumber("NoVerification");
}

void WriteAlwaysAskPassword(bool ask) { WriteIni("System", "NoVerification", ask ? "0" : "1", IniFile); }
