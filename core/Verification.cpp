#include "Verification.h"
#include "Globals.h"
#include "StationRow.h"
#include "frm_VerifyUser.h"

bool Succeeded_Login = false;
QString Succeeded_User;
QString Succeeded_Status;

void ShowVerifyUser(QWidget* owner)
{
    if (SkipVerification == 1)
        return;
    frm_VerifyUser::Default(owner).exec();
}

bool IsUserAllowed(bool adminOnly)
{
    if (SkipVerification == 1) {
        Succeeded_User = GetCounterStaff(CounterNumber);
        return true;
    }
    if (!Succeeded_Login)
        return false;
    return Succeeded_Status == "admin" || (!adminOnly && Succeeded_Status == "staff");
}
