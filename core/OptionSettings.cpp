#include "OptionSettings.h"
#include "Globals.h"
#include "Settings.h"

#include "Vb.h"

namespace {

int systemNumber(const QString& key)
{
    return Vb::CLng(Vb::Val(ReadIni("System", key, "0", IniFile)));
}

} // namespace

void ReadOptionSettings()
{
    PerPersonChargingOn = systemNumber("PerPersonCharging");
    SkipVerification = systemNumber("NoVerification");
}

void WriteAlwaysAskPassword(bool ask) { WriteIni("System", "NoVerification", ask ? "0" : "1", IniFile); }
