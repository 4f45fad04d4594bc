#pragma once

#include <QString>

class Connection;

// The widths of st_login and st_password, and of every column that records a login.
constexpr int StaffLoginWidth = 64;
constexpr int StaffPasswordWidth = 64;

// The staff accounts of tbl_staff as the login, the verification and the administrator check read them.

// The letters and digits of text, in their order: all that the login windows keep of a typed
// login or password.
QString LettersAndDigits(const QString& text);

// Logins and passwords match exactly as stored, case and trailing blanks included.

// Whether a staff row has this login and password (the login window's check, on its connection).
bool LoginMatches(Connection& connection, const QString& login, const QString& password);

// The verification of a guarded action: whether a row has this login and password, and whether
// the first such row is an administrator's (st_access 1).
struct StaffMatch {
    bool matched = false;
    bool admin = false;
};
StaffMatch VerifyStaff(const QString& login, const QString& password);

// Whether an administrator's row has this login and password.
bool AdministratorMatches(const QString& login, const QString& password);

// Stamps st_lastlogin of the login with the current date and time.
void UpdateLastLogin(const QString& login);
