#include "TestGrid.h"
#include "frm_Booker.h"

#include "Clock.h"
#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "ModalDialog.h"
#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"
#include "TempWindowsDir.h"
#include "Verification.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString Day = "2026-12-08";

class BookerDialog : public DemoDatabaseTest {
protected:
    void SetUp() override
    {
        DemoDatabaseTest::SetUp();
        SetNow(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)));
        UseTestCentre();
        windows.writeIni("[SpecialGroup]\r\n 1=Schools\r\n");
        SetErrorDisplayHandler([this](const VbError& e) { errors << e.description(); });
        grid.Select({"16:00", "17:00", "19:00"});
    }
    void TearDown() override
    {
        SetErrorDisplayHandler(nullptr);
        ResetNow();
    }
    static QString booked(const QString& columns, const QString& time)
    {
        Recordset rs = Db::Query("SELECT " + columns + " FROM tbl_booking WHERE b_field=3 AND b_datetime='" + Day +
                                 " " + time + ":00'");
        if (rs.EOF_())
            return "none";
        QStringList v;
        for (int i = 0; i < rs.FieldCount(); ++i)
            v << rs.Fields(i).Value();
        return v.join("|");
    }

    TempWindowsDir windows;
    ScriptedPrompter prompter;
    QStringList errors;
    TestGrid grid{Day, 3};
};

TEST_F(BookerDialog, ShowsOneRowPerSpecialGroupThatExists)
{
    frm_Booker dialog(grid, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Booking Field Court 4 from 16:00 to 17:00");
    ASSERT_NE(dialog.txt_SpecialGroupID[1], nullptr);
    EXPECT_EQ(dialog.lbl_SpecialGroup[1]->text(), "Schools");
    for (int i = 2; i <= 5; ++i)
        EXPECT_EQ(dialog.txt_SpecialGroupID[i], nullptr);
    EXPECT_TRUE(dialog.btn_LookMember[0]->isEnabled());
    EXPECT_TRUE(dialog.txt_BookerPerson->isHidden());
    EXPECT_EQ(TabOrder(dialog.txt_BookerName),
              QStringList({"txt_BookerName", "txt_BookerMemberID", "txt_BookerStudentID", "txt_SpecialGroupID_1",
                           "txt_BookerTel", "txt_BookerOrg", "cmd_OK", "cmd_Cancel", "btn_LookMember_0",
                           "btn_LookMember_1", "btn_LookSpecialGroup_1"}))
        << "the register buttons come after the boxes";
}

TEST_F(BookerDialog, AnIdFillsTheBookerFromItsRegister)
{
    frm_Booker dialog(grid, nullptr);
    QTest::keyClicks(dialog.txt_BookerMemberID, "M2");
    EXPECT_TRUE(dialog.txt_BookerName->text().isEmpty());
    QTest::keyClicks(dialog.txt_BookerMemberID, "026002");
    EXPECT_EQ(dialog.txt_BookerName->text(), "Sean O'Brien");
    EXPECT_EQ(dialog.txt_BookerOrg->text(), "Harbour Rovers");
    EXPECT_EQ(dialog.txt_BookerTel->text(), "555-0102");
    EXPECT_EQ(dialog.Tag, "member");

    dialog.txt_SpecialGroupID[1]->setText("G202601");
    EXPECT_EQ(dialog.Tag, "specialgroup1");
    EXPECT_EQ(dialog.txt_BookerName->text(), "North District Schools");
    EXPECT_TRUE(dialog.txt_BookerMemberID->text().isEmpty());

    dialog.txt_BookerStudentID->setText("S2026001");
    EXPECT_EQ(dialog.Tag, "student");
    EXPECT_TRUE(dialog.txt_SpecialGroupID[1]->text().isEmpty());

    dialog.txt_BookerStudentID->setText("S20269'\\");
    EXPECT_EQ(dialog.Tag, "student") << "an ID no one has changes nothing";
    EXPECT_EQ(dialog.txt_BookerName->text(), "Tomas Novak");
    EXPECT_TRUE(errors.isEmpty());

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    WhenModalShown([](QWidget* reg) { Control<QPushButton>(reg, "btn_Close")->click(); });
    dialog.btn_LookMember[0]->setFocus();
    dialog.btn_LookMember[0]->click();
    dialog.activateWindow(); // as the window system does when the register closes
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(dialog.windowHandle(), Qt::Key_S);
    EXPECT_EQ(dialog.txt_BookerName->text(), "Tomas Novaks") << "after a look-up the clerk types the name";
}

TEST_F(BookerDialog, OkChecksTheEntriesFirst)
{
    PerPersonChargingOn = 1;
    frm_Booker dialog(grid, nullptr);
    EXPECT_FALSE(dialog.txt_BookerPerson->isHidden());
    dialog.cmd_OK_Click();
    dialog.txt_BookerName->setText("Anna");
    dialog.cmd_OK_Click();
    dialog.txt_BookerPerson->setText("99999999");
    dialog.cmd_OK_Click();
    EXPECT_EQ(prompter.prompts(), QStringList({"Please enter booker's name!", "Please enter number of person playing!",
                                               "Please enter number of person playing!"}));
    EXPECT_EQ(count("tbl_booking"), 0);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    dialog.txt_BookerPerson->setText("6");
    dialog.cmd_OK_Click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(booked("b_person", "16:00"), "6");
}

TEST_F(BookerDialog, OkBooksEverySelectedRowWithTheSameBooker)
{
    frm_Booker dialog(grid, nullptr);
    grid.selected.clear(); // what counts is the selection when the dialog opened
    dialog.txt_BookerMemberID->setText("M2026001");
    dialog.txt_BookerMemberID->clear();
    dialog.txt_BookerName->setText("Anna \"Lindqvist\" \\ O'Neil");
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2026-12-08 17:00:00', b_field=3, b_bookername='Other'");
    dialog.cmd_OK_Click();

    EXPECT_EQ(prompter.prompts(), QStringList({"The field already being booked"}));
    EXPECT_EQ(booked("b_bookername, b_bookerorg, b_specialrate, b_delaytime, b_playlength", "16:00"),
              "Anna \"Lindqvist\" \\ O'Neil|Riverside FC||0|60")
        << "an emptied member ID books at the normal rate";
    EXPECT_EQ(booked("b_bookername", "19:00"), "Anna \"Lindqvist\" \\ O'Neil");
    EXPECT_EQ(booked("b_bookername", "17:00"), "Other") << "the hour taken meanwhile is left as it was";
    EXPECT_EQ(grid.refreshes, 1);

    EXPECT_NE(dialog.result(), QDialog::Accepted) << "a refused hour keeps the dialog with what was typed";
    Db::Execute("DELETE FROM tbl_booking WHERE b_bookername='Other'");
    dialog.cmd_OK_Click();
    EXPECT_EQ(prompter.prompts().size(), 1) << "the next OK tries the refused hour alone";
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(BookerDialog, AfterACutItBooksWhomItShowsAndTakesTheEntryOnlyForItsCustomer)
{
    Db::Execute("INSERT INTO tbl_waitlist SET w_id=7, w_bookername='Wait', w_bookertel='7'");
    WaitListCutId = "7";
    PasteFromWaitList = true;
    auto okWith = [this](const QString& time, const QString& name) {
        grid.Select({time});
        frm_Booker dialog(grid, nullptr);
        dialog.txt_BookerName->setText(name);
        dialog.txt_BookerTel->setText("7");
        dialog.cmd_OK_Click();
        return dialog.result() == QDialog::Accepted;
    };
    EXPECT_TRUE(okWith("16:00", "Walk-in"));
    EXPECT_EQ(count("tbl_waitlist"), 1) << "another booker leaves the waiting customer on the list";
    EXPECT_TRUE(okWith("17:00", " wait"));
    EXPECT_EQ(count("tbl_waitlist"), 0) << "the entry's own customer takes it off the list";
    EXPECT_FALSE(PasteFromWaitList);
    WaitListCutId = "8";
    PasteFromWaitList = true;
    EXPECT_TRUE(okWith("19:00", "Ben")) << "an entry gone since the cut does not hold up a walk-in";
    EXPECT_TRUE(prompter.prompts().isEmpty());
}

TEST_F(BookerDialog, ARefusedUserBooksNothing)
{
    SkipVerification = 0;
    Succeeded_Login = false;
    frm_Booker dialog(grid, nullptr);
    dialog.txt_BookerName->setText("Anna");
    dialog.txt_BookerMemberID->setText("M2026003");
    dialog.cmd_OK_Click();
    EXPECT_EQ(count("tbl_booking"), 0);
    EXPECT_EQ(grid.refreshes, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(BookerDialog, ALostDatabaseShowsTheErrorWindowAndKeepsTheDialog)
{
    frm_Booker dialog(grid, nullptr);
    ConnectionString = "DRIVER={MySQL ODBC 3.51 Driver};SERVER=127.0.0.1;PORT=1;DATABASE=posdb;UID=x;PWD=y";
    dialog.txt_BookerMemberID->setText("M2026001");
    dialog.txt_BookerName->setText("Anna");
    dialog.cmd_OK_Click();
    EXPECT_EQ(errors.size(), 2);
    EXPECT_EQ(dialog.txt_BookerName->text(), "Anna");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST_F(BookerDialog, TextsStopAtTheirColumnsWidthSoWhatIsShownIsStored)
{
    grid.selected = {grid.RowOf("16:00")};
    frm_Booker one(grid, nullptr);
    const QString name = QString(300, QChar(u'\u00e9'));
    const QString tel = QString(300, '5');
    one.txt_BookerName->setText(name);
    one.txt_BookerTel->setText(tel);
    one.txt_BookerOrg->setText(QString(299, 'o') + "'");
    QTest::keyClicks(one.txt_BookerOrg, "more");
    ASSERT_EQ(one.txt_BookerName->text(), name.left(255));
    ASSERT_EQ(one.txt_BookerOrg->text(), QString(255, 'o'));
    one.cmd_OK_Click();

    EXPECT_EQ(booked("b_bookername", "16:00"), one.txt_BookerName->text());
    EXPECT_EQ(booked("b_bookertel", "16:00"), tel.left(255));
    EXPECT_EQ(booked("b_bookerorg", "16:00"), one.txt_BookerOrg->text());
    EXPECT_EQ(scalar("SELECT m_remark FROM tbl_remark WHERE m_field=3"), " " + name.left(255) + " " + tel.left(255))
        << "the audit row holds what was booked";
}

} // namespace
