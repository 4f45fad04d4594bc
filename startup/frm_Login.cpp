#include "frm_Login.h"
#include "CredentialBoxes.h"
#include "Db.h"
#include "EndProgram.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "LoginStatus.h"
#include "Prompter.h"
#include "StaffAccounts.h"
#include "StaffLog.h"
#include "StationRow.h"
#include "frm_Main.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

namespace {

QPointer<frm_Login> instance;

QLabel* label(QWidget* parent, const char* name, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

frm_Login& frm_Login::Default()
{
    if (!instance)
        instance = new frm_Login;
    return *instance;
}

bool frm_Login::IsLoaded() { return instance != nullptr; }

void frm_Login::Unload()
{
    if (instance)
        instance->deleteLater();
    instance = nullptr;
}

frm_Login::frm_Login()
{
    setObjectName("frm_Login");
    setWindowTitle(AppTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    const CredentialBoxes boxes = MakeCredentialBoxes(this, "txtLogin", "txtPassword");
    txtLogin = boxes.login;
    txtPassword = boxes.password;
    btn_Go = boxes.go;

    lbl_Task = label(this, "lbl_Task");
    lbl_Version = label(this, "lbl_Version");
    lbl_Notice = label(this, "lbl_Notice");
    lbl_Stop = label(this, "lbl_Stop",
                     "<a href=\"stop\" style=\"text-decoration:none; color:#ffffff\"><b>&#x2715;</b></a>");
    for (QLabel* line : {lbl_Task, lbl_Version, lbl_Notice}) {
        line->setAutoFillBackground(true);
        line->setContentsMargins(8, 2, 8, 2);
    }

    auto* form = new QGridLayout(this);
    form->setContentsMargins(24, 24, 24, 96);
    form->setRowStretch(0, 1);
    form->setColumnStretch(0, 1);
    form->addWidget(label(this, "Label2", "Login"), 1, 1);
    form->addWidget(txtLogin, 1, 2);
    form->addWidget(label(this, "Label1", "Password"), 2, 1);
    form->addWidget(txtPassword, 2, 2);
    form->addWidget(btn_Go, 3, 2);

    connect(btn_Go, &QPushButton::clicked, this, &frm_Login::btn_Go_Click);
    connect(txtLogin, &QLineEdit::returnPressed, this, &frm_Login::btn_Go_Click);
    connect(txtPassword, &QLineEdit::returnPressed, this, &frm_Login::btn_Go_Click);
    connect(lbl_Stop, &QLabel::linkActivated, this, &frm_Login::lbl_Stop_Click);

    SetLoginStatusLine([this](const QString& text) {
        lbl_Task->setText(text);
        lbl_Task->repaint();
    });
    resize(520, 340);
    Form_Load();
}

frm_Login::~frm_Login()
{
    if (instance == this || !instance)
        SetLoginStatusLine(nullptr);
}

void frm_Login::Form_Load()
{
    try {
        CurrentTask = "loading the login window";
        const QString picture = QCoreApplication::applicationDirPath() + "/" + FrontPictureFile;
        if (!m_picture.load(picture))
            throw VbError(VbErrors::FileNotFound, "Pallowin",
                          "The picture of the login window cannot be read: " + QFileInfo(picture).absoluteFilePath());
        lbl_Version->setText("Rurava Vuvade Davevod ero Daviduduza Riveri Version " PALLOWIN_VERSION);
        lbl_Notice->setText("Authorised staff only: every sign-in at this counter is logged.");
        lbl_Task->setText(QString());
        // The picture stands above the three status lines.
        resize(m_picture.size().expandedTo(QSize(420, 200)) + QSize(0, 3 * lbl_Notice->sizeHint().height()));
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}

void frm_Login::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Form_Activate();
}

void frm_Login::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Activate();
}

// The three lines stand on the bottom edge, each directly above the next, whatever their heights.
void frm_Login::Form_Activate()
{
    int bottom = height();
    for (QLabel* line : {lbl_Notice, lbl_Version, lbl_Task}) {
        const int lineHeight = line->sizeHint().height();
        line->setGeometry(0, bottom - lineHeight, width(), lineHeight);
        bottom -= lineHeight;
    }
    const QSize stop = lbl_Stop->sizeHint();
    lbl_Stop->setGeometry(width() - stop.width() - 8, 6, stop.width(), stop.height());
}

void frm_Login::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawPixmap(0, 0, m_picture);
}

void frm_Login::btn_Go_Click()
{
    txtLogin->setText(LettersAndDigits(txtLogin->text()));
    txtPassword->setText(LettersAndDigits(txtPassword->text()));
    Login();
}

void frm_Login::Login()
{
    try {
        // Else a failure would be reported under whatever ran last, the loading of this window.
        CurrentTask = "logging in";
        SetLoginStatus("Connecting to database server...");
        auto connection = Db::Open();
        SetLoginStatus("Query database server...");
        const bool found = LoginMatches(*connection, txtLogin->text(), txtPassword->text());
        connection.reset();
        if (!found) {
            MsgBox("Login/Password not correct", Msg::Critical);
            return;
        }
        SetLoginStatus("Logging in...");
        SetCounterStaff(CounterNumber, txtLogin->text());
        StaffLogin = txtLogin->text();
        WriteLog(StaffLogin, "logging in");
        UpdateLastLogin(StaffLogin);
        frm_Main::Default().show();
        Unload();
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}

void frm_Login::lbl_Stop_Click() { EndProgram(); }
