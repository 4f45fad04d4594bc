#pragma once

#include <QString>

class QWidget;

// The result of the last verification (the public variables of frm_VerifyUser): whether the typed
// login and password matched, the verified login, and its role, "admin" or "staff".
// Succeeded_User is the raw login as typed (or the station's staff when verification is off),
// never quoted: a caller that puts it into a statement passes it through SqlQuote, and one that
// hands it to WriteLog does not.
extern bool Succeeded_Login;
extern QString Succeeded_User;
extern QString Succeeded_Status;

// Shows the verification dialog modally over owner; does nothing when verification is switched off.
void ShowVerifyUser(QWidget* owner);
// Whether the last verification allows the action; with verification off, always, and the staff
// signed in at this station becomes the verified user (read from the station row, so a database
// failure throws its VbError).
bool IsUserAllowed(bool adminOnly);
