#include "StaffAccounts.h"
#include "Clock.h"
#include "Db.h"
#include "SqlQuote.h"

namespace {

// Logins and passwords match byte for byte: "ADMIN" or "admin  " is not admin, whatever the
// collation of the columns says.
QString exactly(const QString& column, const QString& value) { return column + "=BINARY '" + SqlQuote(value) + "'"; }

QString loginAndPassword(const QString& login, const QString& password)
{
    return exactly("st_login", login) + " AND " + exactly("st_password", password);
}

} // namespace

QString LettersAndDigits(const QString& text)
{
    QString kept;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z'))
            kept += c;
    }
    return kept;
}

bool LoginMatches(Connection& connection, const QString& login, const QString& password)
{
    return connection.Query("SELECT *  from tbl_staff where " + loginAndPassword(login, password)).RecordCount() >= 1;
}

StaffMatch VerifyStaff(const QString& login, const QString& password)
{
    Recordset rs = Db::Query("SELECT * from tbl_staff where " + loginAndPassword(login, password));
    if (rs.RecordCount() < 1)
        return {};
    return {true, rs["st_access"].Integer() == 1};
}

bool AdministratorMatches(const QString& login, const QString& password)
{
    return Db::Query("SELECT * from tbl_staff where " + loginAndPassword(login, password) + " AND st_access=1")
               .RecordCount() >= 1;
}

void UpdateLastLogin(const QString& login)
{
    Db::Execute("UPDATE tbl_staff SET st_lastlogin='" + DbDateTime(Now()) + "' WHERE " + exactly("st_login", login));
}
