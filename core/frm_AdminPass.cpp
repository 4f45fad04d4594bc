#include "frm_AdminPass.h"
#include "CredentialBoxes.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"
#include "StaffAccounts.h"

#include <QLineEdit>
#include <QPushButton>

bool frm_AdminPass::GetAdminPass(QWidget* owner)
{
    frm_AdminPass dialog(owner);
    return dialog.exec() == QDialog::Accepted;
}

frm_AdminPass::frm_AdminPass(QWidget* owner) : QDialog(owner)
{
    setObjectName("frm_AdminPass");
    setWindowTitle("Administrator");
    setModal(true);

    const CredentialBoxes boxes = MakeCredentialBoxes(this, "txtLogin", "txtPassword");
    txtLogin = boxes.login;
    txtPassword = boxes.password;
    btn_Go = boxes.go;
    LayOutCredentialDialog(this, boxes);

    connect(btn_Go, &QPushButton::clicked, this, &frm_AdminPass::btn_Go_Click);
}

void frm_AdminPass::btn_Go_Click()
{
    txtLogin->setText(LettersAndDigits(txtLogin->text()));
    txtPassword->setText(LettersAndDigits(txtPassword->text()));
    try {
        CurrentTask = "verifying administrator";
        if (AdministratorMatches(txtLogin->text(), txtPassword->text())) {
            accept();
            return;
        }
        MsgBox("Login/Password not correct", Msg::Critical);
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
    reject();
}
