#include "frm_VerifyUser.h"
#include "CredentialBoxes.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"
#include "StaffAccounts.h"
#include "Verification.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {

QPointer<frm_VerifyUser> instance;

void clearResult()
{
    Succeeded_Login = false;
    Succeeded_User.clear();
    Succeeded_Status.clear();
}

} // namespace

frm_VerifyUser& frm_VerifyUser::Default(QWidget* owner)
{
    if (!instance)
        instance = new frm_VerifyUser(owner);
    else if (instance->parentWidget() != owner)
        instance->setParent(owner, instance->windowFlags());
    return *instance;
}

frm_VerifyUser::frm_VerifyUser(QWidget* owner) : QDialog(owner)
{
    setObjectName("frm_VerifyUser");
    setWindowTitle("Verify User");
    setModal(true);

    const CredentialBoxes boxes = MakeCredentialBoxes(this, "txt_user", "txt_password");
    txt_user = boxes.login;
    txt_password = boxes.password;
    btn_Go = boxes.go;
    LayOutCredentialDialog(this, boxes);

    connect(btn_Go, &QPushButton::clicked, this, &frm_VerifyUser::btn_Go_Click);
    Form_Activate();
}

void frm_VerifyUser::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

// Every showing starts from a refusal, so a dialog closed without a successful check refuses.
void frm_VerifyUser::Form_Activate()
{
    clearResult();
    txt_user->clear();
    txt_password->clear();
    txt_user->setFocus();
}

void frm_VerifyUser::btn_Go_Click()
{
    const RestoreTask actionTask;
    try {
        CurrentTask = "verifying user";
        const StaffMatch match = VerifyStaff(txt_user->text(), txt_password->text());
        if (!match.matched) {
            MsgBox("Invalid Password, try again!", Msg::Critical, "Error");
            clearResult();
            reject();
            return;
        }
        Succeeded_User = txt_user->text();
        Succeeded_Login = true;
        Succeeded_Status = match.admin ? "admin" : "staff";
        accept();
    } catch (const VbError& e) {
        clearResult();
        reject();
        ShowErrorDisplay(e);
    }
}
