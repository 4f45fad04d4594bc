#pragma once

// The two station options that take effect without a new start: per-person charging and the
// verification switch of guarded actions.

// PerPersonChargingOn and SkipVerification from [System]"PerPersonCharging" and "NoVerification".
void ReadOptionSettings();

// "Always ask password" stores "0" under [System]"NoVerification", its absence "1".
void WriteAlwaysAskPassword(bool ask);
