#include "EndProgram.h"
#include "ErrorDisplay.h"
#include "ErrorReport.h"
#include "Globals.h"
#include "ModalDialog.h"
#include "OutsideProgram.h"
#include "ScriptedPrompter.h"
#include "SupportMail.h"
#include "TempWindowsDir.h"
#include "UnreadableFile.h"
#include "frm_ErrorDisplay.h"

#include <QTest>
#include "frm_Options.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ErrorWindow : public testing::Test {
protected:
    void SetUp() override
    {
        CurrentTask = "updating log";
        SetEndProgramHandler([this] { ++ended; });
    }
    void TearDown() override
    {
        SetEndProgramHandler(nullptr);
        OutsideProgram::SetFile("sendemail", {});
    }

    // A mailer that writes its arguments, one a line, into a file and ends with exitCode.
    QString fakeMailer(int exitCode)
    {
        const QString script = scripts.filePath("sendemail");
        QFile f(script);
        f.open(QIODevice::WriteOnly);
        f.write(QString("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n--\\n' \"$a\"; done > '%1'\necho 'no route to "
                        "mail server'\nexit %2\n")
                    .arg(scripts.filePath("args"))
                    .arg(exitCode)
                    .toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        OutsideProgram::SetFile("sendemail", script);
        return scripts.filePath("args");
    }

    static QString text(QWidget* w, const char* name)
    {
        if (auto* label = Control<QLabel>(w, name))
            return label->text();
        return Control<QPlainTextEdit>(w, name)->toPlainText();
    }

    TempWindowsDir windows;
    QTemporaryDir scripts;
    ScriptedPrompter prompter;
    int ended = 0;
};

TEST_F(ErrorWindow, ShowsTaskReportAndTheTipOfTheNumber)
{
    frm_ErrorDisplay serial(VbError(8002, "MSComm", "Invalid port number"));
    EXPECT_EQ(text(&serial, "lbl_Error"), "Error while updating log");
    EXPECT_EQ(text(&serial, "txt_Error"), "Invalid port number\nError Number :8002\n\nSource : MSComm\n\n");
    EXPECT_EQ(text(&serial, "lbl_Remedies"), "Tips");
    const QStringList paragraphs = text(&serial, "lbl_Tips").split("\r\n\r\n");
    ASSERT_EQ(paragraphs.size(), 2);
    EXPECT_TRUE(paragraphs[1].startsWith("If you are using a USB-SerialComm device"));

    CurrentTask.clear();
    frm_ErrorDisplay other(VbError(VbErrors::TypeMismatch, "Pallowin", "Type mismatch"));
    EXPECT_EQ(text(&other, "lbl_Error"), "Error while ");
    EXPECT_EQ(text(&other, "lbl_Tips"), "No unknown troubleshooting tips.");
    EXPECT_TRUE(TipFor(8005).text.startsWith("Because of the software are trying to access an open port"));
    EXPECT_TRUE(TipFor(70).text.contains("(sudo adduser <user> dialout), then log out and log in again"));
    EXPECT_EQ(ErrorReport(VbError(VbErrors::Database, "ODBC", "gone")).section("\r\n", 1, 1),
              "Error Number :-2147467259");
}

TEST_F(ErrorWindow, OnlyTheCloseButtonAfterADatabaseErrorAtStartUpEndsTheProgram)
{
    frm_ErrorDisplay serial(VbError(8005, "MSComm", "Port already open"));
    serial.show();
    Control<QPushButton>(&serial, "btn_Close")->click();
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(serial.isVisible());

    frm_ErrorDisplay closedByTheBox(VbError(VbErrors::Database, "ODBC", "Can't connect"));
    closedByTheBox.show();
    closedByTheBox.close();
    EXPECT_EQ(ended, 0);

    QFile kept(windows.path() + "/" + ErrorReportFile);
    EXPECT_FALSE(kept.exists()) << "a window that lets the program go on keeps no report";

    frm_ErrorDisplay database(VbError(VbErrors::Database, "ODBC", "Can't connect"));
    database.show();
    Control<QPushButton>(&database, "btn_Close")->click();
    EXPECT_EQ(ended, 1);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << "the clipboard ends with the program, the file stays";
    EXPECT_TRUE(kept.readAll().contains("Error while updating log\r\n\r\nCan't connect\r\nError Number :"));

    // While staff work in the main window the station lives through the hiccup.
    SetDatabaseLossEndsProgram(false);
    frm_ErrorDisplay atWork(VbError(VbErrors::Database, "ODBC", "Can't connect"));
    atWork.show();
    Control<QPushButton>(&atWork, "btn_Close")->click();
    SetDatabaseLossEndsProgram(true);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(atWork.isVisible());
}

TEST_F(ErrorWindow, IsTheWindowOfShowErrorDisplay)
{
    SetErrorDisplayHandler(&frm_ErrorDisplay::ShowFor);
    QString heading;
    WhenModalShown([&](QWidget* window) {
        heading = text(window, "lbl_Error");
        Control<QPushButton>(window, "btn_Close")->click();
    });
    ShowErrorDisplay(VbError(VbErrors::Overflow, "Pallowin", "Overflow"));
    SetErrorDisplayHandler(nullptr);
    EXPECT_EQ(heading, "Error while updating log");
}

TEST_F(ErrorWindow, MailsTheReportWithTheSettingsButNotThePassword)
{
    windows.writeIniBytes(
        "[System]\r\nhour_start=8\r\ndatabase_password = s3cr\"et\r\ndatabase_user=Caf\xE9\r\n");
    const QString args = fakeMailer(0);
    frm_ErrorDisplay window(VbError(VbErrors::Database, "ODBC", "Lost connection"));
    window.show();
    Control<QPushButton>(&window, "btn_CopyToClipboard")->click();
    EXPECT_FALSE(Control<QPushButton>(&window, "btn_CopyToClipboard")->isEnabled()) << "while the mailer works";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompter.asked().empty(); }, 10000));

    const QString report = "Error while updating log\r\n\r\nLost connection\r\nError Number :-2147467259\r\n\r\n"
                           "Source : ODBC\r\n\r\n";
    EXPECT_EQ(QApplication::clipboard()->text(), report);

    QFile f(args);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QStringList sent = QString::fromUtf8(f.readAll()).split("\n--\n");
    sent.removeLast();
    ASSERT_EQ(sent.size(), 10);
    EXPECT_EQ(sent.mid(0, 8), (QStringList{"-f", StationMailSender, "-t", SupportMailbox, "-u", "REQUEST SUPPORT", "-s",
                                           SupportMailServer}));
    EXPECT_EQ(sent[8], "-m");
    const QString separator(47, '-');
    EXPECT_EQ(sent[9], report + "\r\n\r\n" + separator + "\r\n\r\n[System]\r\nhour_start=8\r\n"
                                "database_password = ********\r\ndatabase_user=" + QString::fromUtf8("Café") +
                                "\r\n\r\n\r\n" + separator);

    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].prompt, "Your email has been sent to " + SupportMailbox +
                                              "\r\nYou will be contacted by our technical support via your given email");
    EXPECT_EQ(prompter.asked()[0].style, Msg::Information);
    EXPECT_EQ(ended, 1) << "sending closes the window the way Close does";
}

TEST_F(ErrorWindow, AMailerThatFailsOrIsMissingIsReportedAndNothingPretends)
{
    fakeMailer(1);
    frm_ErrorDisplay window(VbError(8002, "MSComm", "Invalid port number"));
    window.show();
    Control<QPushButton>(&window, "btn_CopyToClipboard")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompter.asked().size() == 1; }, 10000));
    OutsideProgram::SetFile("sendemail", scripts.filePath("no-such-mailer"));
    Control<QPushButton>(&window, "btn_CopyToClipboard")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompter.asked().size() == 2; }, 10000));

    ASSERT_EQ(prompter.asked().size(), 2u);
    for (const auto& asked : prompter.asked()) {
        EXPECT_EQ(asked.style, Msg::Critical);
        EXPECT_TRUE(asked.prompt.startsWith("The email to " + SupportMailbox + " could not be sent."));
    }
    EXPECT_TRUE(prompter.asked()[0].prompt.contains("exit code 1")) << prompter.asked()[0].prompt.toStdString();
    EXPECT_TRUE(prompter.asked()[0].prompt.contains("no route to mail server"));
    EXPECT_TRUE(prompter.asked()[1].prompt.contains("could not be started"));
    EXPECT_TRUE(prompter.asked()[1].prompt.contains("on the clipboard and in the file " + windows.path() + "/" +
                                                    ErrorReportFile));
    EXPECT_TRUE(window.isVisible()) << "the user can still copy, repair or close";

    // The window gone before the mailer ends: the outcome is still told, and a failure keeps the report.
    QFile kept(windows.path() + "/" + ErrorReportFile);
    ASSERT_TRUE(kept.remove());
    for (const int exitCode : {1, 0}) {
        fakeMailer(exitCode);
        frm_ErrorDisplay(VbError(8005, "MSComm", "Port already open")).btn_CopyToClipboard_Click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return prompter.asked().size() == 4u - exitCode; }, 10000));
    }
    EXPECT_TRUE(prompter.asked()[2].prompt.contains("in the file " + kept.fileName()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().contains("Error while updating log\r\n\r\nPort already open"));
    EXPECT_EQ(prompter.asked()[3].style, Msg::Information);
    EXPECT_EQ(ended, 0);
}

TEST_F(ErrorWindow, MaskingLeavesOtherKeysAndAnEmptyPasswordAlone)
{
    EXPECT_EQ(MaskDatabasePassword("[System]\ndatabase_password=\ndatabase_password_hint=x\nDATABASE_PASSWORD=a b\n"),
              "[System]\ndatabase_password=\ndatabase_password_hint=x\nDATABASE_PASSWORD=********\n");
}

class Options : public testing::Test {
protected:
    // Opens the dialog, sets the box as given and presses the named button.
    void press(const char* button, bool alwaysAsk)
    {
        frm_Options dialog(nullptr);
        Control<QCheckBox>(&dialog, "chk_AlwayAskPassword")->setChecked(alwaysAsk);
        Control<QPushButton>(&dialog, button)->click();
    }
    TempWindowsDir windows;
    ScriptedPrompter prompter;
};

TEST_F(Options, OkStoresTheVerificationSwitchAndReloadsBothSettings)
{
    windows.writeIni("[System]\nNoVerification=1\nPerPersonCharging=1\n");
    SkipVerification = 1;
    EXPECT_FALSE(Control<QCheckBox>(std::make_unique<frm_Options>(nullptr).get(), "chk_AlwayAskPassword")->isChecked());

    press("btn_OK", true);
    EXPECT_EQ(windows.iniText(), "[System]\nNoVerification=0\nPerPersonCharging=1\n");
    EXPECT_EQ(SkipVerification, 0);
    EXPECT_EQ(PerPersonChargingOn, 1);

    press("btn_OK", false);
    EXPECT_EQ(windows.iniText(), "[System]\nNoVerification=1\nPerPersonCharging=1\n");
    EXPECT_EQ(SkipVerification, 1);
    const UnreadableFile locked(windows.iniPath());
    press("btn_OK", true);
    EXPECT_EQ(prompter.prompts(), QStringList{"The option \"Always ask password\" cannot be saved in pallowin.ini."});
}

TEST_F(Options, CancelStoresNothingButStillReloads)
{
    windows.writeIni("[System]\nNoVerification=1\n");
    SkipVerification = 0;
    PerPersonChargingOn = 1;
    press("btn_Cancel", true);
    EXPECT_EQ(windows.iniText(), "[System]\nNoVerification=1\nPerPersonCharging=0\n");
    EXPECT_EQ(SkipVerification, 1);
    EXPECT_EQ(PerPersonChargingOn, 0);

    for (const QString value : {"1.4", "0.6", "2"}) {
        windows.writeIni("[System]\nNoVerification=" + value + "\nPerPersonCharging=" + value + "\n");
        press("btn_Cancel", true);
        EXPECT_EQ(SkipVerification, 0) << value.toStdString() << " asks for a login";
        EXPECT_EQ(PerPersonChargingOn, 0);
    }
}

} // namespace
