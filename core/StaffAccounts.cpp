#include "StaffAccounts.h"
#include "Clock.h"
#include "Db.h"
#include "SqlQuote.h"

namespace {

QString loginAndPassword(const QString& login, const QString& password)
{
    return "st_login ='" + SqlQuote(login) + "' AND st_password='" + SqlQuote(password) + "'";
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
    Db::Execute("UPDATE tbl_staff SET st_lastlogin='" + DbDateTime(Now()) + "' WHERE st_login='" + SqlQuote(login) +
                "'");
}
