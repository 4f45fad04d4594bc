#pragma once

// The two station options that take effect without a new start: per-person charging and the
// verification switch of guarded actions.

// PerPersonChargingOn and SkipVerification from [System]"PerPersonCharging" and "NoVerification".
void ReadOptionSettings();

// "Always ask password" stores "0" under [System]"NoVerification", its absence "1"; false when the
// settings file cannot be written.
bool WriteAlwaysAskPassword(bool ask);
