#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// A second confirmation by an administrator's login and password. It closes after one attempt.
class frm_AdminPass : public QDialog {
    Q_OBJECT

public:
    // Shows the dialog modally over owner; true when an administrator confirmed, and the caller
    // then applies the change it guards.
    static bool GetAdminPass(QWidget* owner);

    void btn_Go_Click();

private:
    explicit frm_AdminPass(QWidget* owner);

    QLineEdit* txtLogin;
    QLineEdit* txtPassword;
    QPushButton* btn_Go;
};
