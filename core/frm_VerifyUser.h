#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The verification dialog of guarded actions: one attempt at a staff login and password, whose
// result is left in Succeeded_Login, Succeeded_User and Succeeded_Status (Verification.h).
class frm_VerifyUser : public QDialog {
    Q_OBJECT

public:
    // The one instance, shown over owner.
    static frm_VerifyUser& Default(QWidget* owner);

    void btn_Go_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    explicit frm_VerifyUser(QWidget* owner);
    void Form_Activate();

    QLineEdit* txt_user;
    QLineEdit* txt_password;
    QPushButton* btn_Go;
};
