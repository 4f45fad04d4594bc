#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// The staff login window, the first window of the station. A successful login signs the staff
// in at this station and opens the main window.
class frm_Login : public QWidget {
    Q_OBJECT

public:
    // One instance, made on first use and made afresh after it was unloaded.
    static frm_Login& Default();
    static bool IsLoaded();
    static void Unload();

    void btn_Go_Click();
    void lbl_Stop_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    frm_Login();
    ~frm_Login() override;
    void Form_Load();
    void Form_Activate();
    void Login();

    QPixmap m_picture;
    QLineEdit* txtLogin;
    QLineEdit* txtPassword;
    QPushButton* btn_Go;
    QLabel* lbl_Task;
    QLabel* lbl_Version;
    QLabel* lbl_Notice;
    QLabel* lbl_Stop;
};
