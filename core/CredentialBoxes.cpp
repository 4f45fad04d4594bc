#include "CredentialBoxes.h"
#include "StaffAccounts.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

CredentialBoxes MakeCredentialBoxes(QWidget* parent, const char* loginName, const char* passwordName)
{
    CredentialBoxes boxes{new QLineEdit(parent), new QLineEdit(parent), new QPushButton("GO", parent)};
    boxes.login->setObjectName(loginName);
    boxes.password->setObjectName(passwordName);
    boxes.password->setEchoMode(QLineEdit::Password);
    // What is typed is what is compared and recorded: never more than the columns hold.
    boxes.login->setMaxLength(StaffLoginWidth);
    boxes.password->setMaxLength(StaffPasswordWidth);
    boxes.go->setObjectName("btn_Go");
    return boxes;
}

void LayOutCredentialDialog(QWidget* dialog, const CredentialBoxes& boxes)
{
    boxes.go->setDefault(true);
    auto* layout = new QFormLayout(dialog);
    layout->addRow("Login", boxes.login);
    layout->addRow("Password", boxes.password);
    layout->addRow(boxes.go);
}
