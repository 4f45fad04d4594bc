#include "OptionSettings.h"
#include "Globals.h"
#include "Settings.h"

#include "Vb.h"

namespace {

// Only the value 1 switches an option on; rounding would switch it on for 1.4 or 0.6 as well.
int systemNumber(const QString& key) { return Vb::Val(ReadIni("System", key, "0", IniFile)) == 1.0 ? 1 : 0; }

} // namespace

void ReadOptionSettings()
{
    PerPersonChargingOn = systemNumber("PerPersonCharging");
    SkipVerification = systemNumber("NoVerification");
}

bool WriteAlwaysAskPassword(bool ask) { return WriteIni("System", "NoVerification", ask ? "0" : "1", IniFile); }
