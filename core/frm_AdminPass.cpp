#include "frm_AdminPass.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"
#include "StaffAccounts.h"

#include <QFormLayout>
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

    txtLogin = new QLineEdit(this);
    txtLogin->setObjectName("txtLogin");
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName("txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    btn_Go = new QPushButton("GO", this);
    btn_Go->setObjectName("btn_Go");
    btn_Go->setDefault(true);

    auto* layout = new QFormLayout(this);
    layout->addRow("Login", txtLogin);
    layout->addRow("Password", txtPassword);
    layout->addRow(btn_Go);

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
