#pragma once

class QLineEdit;
class QPushButton;
class QWidget;

// The login box, the hidden password box and the GO button of every window that asks who is there.
// The boxes take no more characters than the staff columns hold.
struct CredentialBoxes {
    QLineEdit* login;
    QLineEdit* password;
    QPushButton* go;
};

CredentialBoxes MakeCredentialBoxes(QWidget* parent, const char* loginName, const char* passwordName);
// Lays the boxes out as the whole of a small dialog: "Login", "Password", then the button.
void LayOutCredentialDialog(QWidget* dialog, const CredentialBoxes& boxes);
