#include "PortalSchedule.h"
#include "SupportPage.h"
#include "SupportRequest.h"
#include "frm_Summary.h"
#include "frm_quorrinUpdate.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "OutsideProgram.h"
#include "SupportMail.h"

#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A mailer that keeps its arguments and ends with the given exit code, after the given seconds.
class FakeMailer {
public:
    explicit FakeMailer(int exitCode, double seconds = 0)
    {
        QFile script(m_dir.path() + "/sendemail");
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\nsleep " + QByteArray::number(seconds) + "\nprintf '%s\\0' \"$@\" > '" +
                     arguments().toUtf8() + "'\nexit " + QByteArray::number(exitCode) + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        OutsideProgram::SetFile("sendemail", script.fileName());
    }
    ~FakeMailer() { OutsideProgram::SetFile("sendemail", {}); }

    QStringList Arguments() const
    {
        QFile file(arguments());
        file.open(QIODevice::ReadOnly);
        QStringList list = QString::fromUtf8(file.readAll()).split(QChar(0));
        list.removeLast();
        return list;
    }

private:
    QString arguments() const { return m_dir.path() + "/arguments"; }
    QTemporaryDir m_dir;
};

// Sends the request and waits for its outcome, as the window's event loop would.
bool send(const SupportRequest& request)
{
    QEventLoop loop;
    bool sent = false;
    request.Send(&loop, [&](bool outcome) {
        sent = outcome;
        loop.quit();
    });
    loop.exec();
    return sent;
}

QStringList mailed(const QString& sender, const QString& text)
{
    return {"-f", sender,           "-t", SupportMailbox, "-u", "REQUEST SUPPORT", "-s",
            SupportMailServer, "-m", text};
}

TEST(SupportRequestTest, TheMailerGetsOneArgumentPerValueAndTheSettingsWithTheirPasswordMasked)
{
    ScriptedPrompter prompter;
    FakeMailer mailer(0);
    const QString typed = "Printer \"B\" jams -a /etc/passwd";
    EXPECT_TRUE(send(SupportRequest("me@club.example -t x", typed, false, "unused")));
    EXPECT_EQ(mailer.Arguments(), mailed("me@club.example -t x", typed));

    const QString settings = "[System]\r\ndatabase_user=pallowin\r\n Database_Password = s3cr\"et\r\npitch0=Court A";
    const QString masked = "[System]\r\ndatabase_user=pallowin\r\n Database_Password = ********\r\npitch0=Court A";
    EXPECT_TRUE(send(SupportRequest("me@club.example", typed, true, settings)));
    const QString separator(47, '-');
    EXPECT_EQ(mailer.Arguments(),
              mailed("me@club.example", typed + "\r\n\r\n" + separator + "\r\n\r\n" + masked + "\r\n\r\n" + separator));
    EXPECT_EQ(prompter.prompts(), QStringList(2, "Your email has been sent to " + SupportConfirmationAddress +
                                                     "\nYou will be contacted by our technical support via your "
                                                     "given email"));
}

TEST(SupportRequestTest, AMailerThatFailsIsToldAndTheRequestCountsAsNotSent)
{
    ScriptedPrompter prompter;
    FakeMailer mailer(1);
    EXPECT_FALSE(send(SupportRequest("me@club.example", "help", false, {})));
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(prompter.asked()[0].prompt.startsWith("Your email could not be sent.\nThe program sendemail ended "
                                                      "with exit code 1."))
        << prompter.asked()[0].prompt.toStdString();
    EXPECT_EQ(prompter.asked()[0].style, Msg::Critical);
}

TEST(SupportRequestTest, ThePageGoesOnWhileTheMailerWorksAndTellsItsResultAtTheEnd)
{
    ScriptedPrompter prompter;
    SupportPage page(nullptr);
    page.txt_EmailAddress->setText("me@club.example");
    for (int exitCode : {1, 0}) {
        SCOPED_TRACE(exitCode);
        FakeMailer mailer(exitCode, 1);
        prompter.clear();
        QElapsedTimer clicked;
        clicked.start();
        page.btn_RequestSupport->click();
        EXPECT_LT(clicked.elapsed(), 500) << "the window does not wait for the mailer";
        EXPECT_FALSE(page.btn_RequestSupport->isEnabled());
        EXPECT_TRUE(prompter.asked().empty());
        while (prompter.asked().empty() && clicked.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        ASSERT_EQ(prompter.asked().size(), 1u);
        EXPECT_EQ(prompter.asked()[0].style, exitCode == 0 ? Msg::Information : Msg::Critical);
        EXPECT_EQ(page.btn_RequestSupport->isEnabled(), exitCode != 0) << "a mail that did not leave may be sent again";
    }
}

// A browser control that keeps what it was asked to show.
class FakeView : public PageView {
public:
    explicit FakeView(QWidget* parent) : m_widget(new QWidget(parent)) { last = this; }
    QWidget* Widget() override { return m_widget; }
    void Navigate(const QUrl& url) override { navigated = url; }
    void Post(const QUrl& url, const QByteArray& data) override
    {
        posted = url;
        body = data;
    }
    QUrl navigated, posted;
    QByteArray body;
    static inline FakeView* last = nullptr;

private:
    QWidget* m_widget;
};

class PageWindows : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        SetPageViewMaker([](QWidget* parent) { return std::make_unique<FakeView>(parent); });
        WebServerHost = "reports.riverside.example";
        HourStart = 8;
        HourEnd = 2;
    }
    void TearDown() override
    {
        SetPageViewMaker(nullptr);
        ResetNow();
    }
};

TEST_F(PageWindows, TheSummaryOpensTheReportPageOfTheCalendarDateAndSaysPlainlyWhenItCannotBeReached)
{
    frm_Summary* window = frm_Summary::Show(nullptr, "2006-04-08");
    EXPECT_EQ(window->windowTitle(), "Booking Summary for 2006-04-08");
    EXPECT_EQ(FakeView::last->navigated.toString(),
              "http://reports.riverside.example/report/booking.asp?date=2006-04-08");
    FakeView::last->onLoaded(false);
    EXPECT_TRUE(window->lbl_Unreachable->isVisible());
    EXPECT_FALSE(FakeView::last->Widget()->isVisible());
    EXPECT_TRUE(window->lbl_Unreachable->text().contains(
        "the report page http://reports.riverside.example/report/booking.asp?date=2006-04-08 cannot be reached"));
    FakeView::last->onLoaded(true);
    EXPECT_FALSE(window->lbl_Unreachable->isVisible());
    EXPECT_TRUE(FakeView::last->Widget()->isVisible());

    // Every press shows the one window; the page changes only with the calendar's date.
    FakeView* view = FakeView::last;
    view->navigated.clear();
    EXPECT_EQ(frm_Summary::Show(nullptr, "2006-04-08"), window);
    EXPECT_TRUE(view->navigated.isEmpty());
    EXPECT_EQ(frm_Summary::Show(nullptr, "2006-04-09"), window);
    EXPECT_EQ(window->windowTitle(), "Booking Summary for 2006-04-09");
    EXPECT_EQ(view->navigated.toString(), "http://reports.riverside.example/report/booking.asp?date=2006-04-09");
    EXPECT_EQ(FakeView::last, view) << "no second window";
    window->btn_Close->click();
    EXPECT_FALSE(window->isVisible());
    view->navigated.clear();
    EXPECT_EQ(frm_Summary::Show(nullptr, "2006-04-09"), window);
    EXPECT_FALSE(view->navigated.isEmpty()) << "shown again after Close, the page is read afresh";
    delete window;
}

TEST_F(PageWindows, ThePortalGetsTheBookingsFromTheBusinessHourOnAsFormData)
{
    for (const char* key : {"2026-12-07 24:00:00", "2026-12-08 13:00:00", "2026-12-08 14:00:00", "2026-12-08 24:00:00",
                            "2026-12-08 01:00:00", "2026-12-09 09:00:00"})
        Db::Execute(QString("INSERT INTO tbl_booking SET b_datetime='") + key + "', b_field=1, b_playlength=90");
    EXPECT_EQ(PortalPostBody(QDateTime(QDate(2026, 12, 8), QTime(14, 30))),
              "method=post&2026-12-08+01%3A00%3A00=90&2026-12-08+14%3A00%3A00=90&2026-12-08+24%3A00%3A00=90&"
              "2026-12-09+09%3A00%3A00=90&");
    // Half past midnight and half past one are still the business day of 8 December.
    const QByteArray night = "method=post&2026-12-08+01%3A00%3A00=90&2026-12-08+24%3A00%3A00=90&"
                             "2026-12-09+09%3A00%3A00=90&";
    EXPECT_EQ(PortalPostBody(QDateTime(QDate(2026, 12, 9), QTime(0, 30))), night);
    EXPECT_EQ(PortalPostBody(QDateTime(QDate(2026, 12, 9), QTime(1, 30))),
              "method=post&2026-12-08+01%3A00%3A00=90&2026-12-09+09%3A00%3A00=90&");
    EXPECT_EQ(PortalPostBody(QDateTime(QDate(2026, 12, 9), QTime(2, 30))),
              "method=post&2026-12-09+09%3A00%3A00=90&");

    SetNow(QDateTime(QDate(2026, 12, 9), QTime(0, 30)));
    auto* window = new frm_quorrinUpdate;
    window->Form_Load();
    EXPECT_EQ(window->windowTitle(), "Form1");
    EXPECT_EQ(FakeView::last->posted.toString(), "http://portal.zentrel-booking.example:81/test.php");
    EXPECT_EQ(FakeView::last->body, night);
    window->close();
}


TEST(SummaryWindow, TheBrowserOfTheProgramTellsWhenTheReportServerIsNotThere)
{
    // Chromium's sandbox refuses to start for the root user of a test container.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    WebServerHost = "127.0.0.1:9";
    frm_Summary* window = frm_Summary::Show(nullptr, "2026-12-08");
    QElapsedTimer waited;
    waited.start();
    while (!window->lbl_Unreachable->isVisible() && waited.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_TRUE(window->lbl_Unreachable->isVisible());
    if (qEnvironmentVariableIsSet("PALLOWIN_SHOT"))
        window->grab().save(qEnvironmentVariable("PALLOWIN_SHOT") + "/summary.png");
    delete window;
}

}
