#include "CaptureLibrary.h"
#include "CctvPanel.h"

#include "CaptureTestSupport.h"
#include "ModalDialog.h"
#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"
#include "TempWindowsDir.h"

#include "Clock.h"
#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "LoginStatus.h"
#include "Verification.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QDateTime Start(QDate(2026, 3, 5), QTime(9, 5, 7));

// Test cameras recording into a scratch folder that is the current folder, as the counter's is.
class CctvPanelTest : public DatabaseTest {
protected:
    TempWindowsDir windows;
    QTemporaryDir folder;
    QString previousFolder;
    ScriptedPrompter prompter;
    QStringList errors;
    QStringList status;
    std::unique_ptr<CctvPanel> panel;

    void SetUp() override
    {
        DatabaseTest::SetUp();
        qputenv("CORVANE_TEST_DEVICES", QByteArray::number(capture_test::kTestCameras));
        previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        QDir().mkpath("Setting");
        ASSERT_TRUE(QFile::copy(CORVANE_PROFILE, "Setting/IsCapture.prx"));
        SkipVerification = 1;
        Db::Execute("INSERT INTO tbl_system SET sys_counter=1, sys_counterstaff='admin'");
        SetErrorDisplayHandler([this](const VbError& e) { errors << e.description(); });
        SetLoginStatusLine([this](const QString& text) { status << text; });
        SetNow(Start);
    }
    void TearDown() override
    {
        panel.reset();
        SetLoginStatusLine(nullptr);
        SetErrorDisplayHandler(nullptr);
        ResetNow();
        QDir::setCurrent(previousFolder);
    }

    void prepare(const QString& cctv, CaptureLibrary& library = CaptureLibrary::Default())
    {
        windows.writeIni("[CCTV]\n" + cctv);
        panel = std::make_unique<CctvPanel>(library);
        panel->Prepare();
    }
    void choose(int camera, const QString& device, const QString& interval)
    {
        if (!device.isEmpty()) {
            panel->cmb_Device_Select[camera]->setCurrentText(device);
            panel->cmb_Device_Select_Click(camera);
        }
        panel->cmb_RecordInterval[camera]->setCurrentText(interval);
    }
    static QStringList videos() { return QDir("Video").entryList(QDir::Files, QDir::Name); }
    static void record(int milliseconds) { QTest::qWait(milliseconds); }
    static void expectPlayable(const QString& file)
    {
        SCOPED_TRACE(file.toStdString());
        const auto info = capture_test::Discover(QDir("Video").absoluteFilePath(file).toStdString());
        ASSERT_TRUE(info);
        EXPECT_GT(info->seconds, 0.5);
    }
};

TEST_F(CctvPanelTest, AOneMinuteIntervalStartsANewFileEachTickAndEveryFilePlaysAfterTheStop)
{
    // What an administrator saved records at every start, whoever signs in.
    SkipVerification = 0;
    bool askedAtStart = false;
    WhenModalShown([&](QWidget* dialog) {
        askedAtStart = true;
        static_cast<QDialog*>(dialog)->reject();
    });
    prompter.Answer(Msg::OK);
    prepare("Cam0=Enabled\nDevice0= 1\nCamInterval0= 1\nCam1=Enabled\nDevice1= 1\nCamInterval1=15\n");
    EXPECT_FALSE(askedAtStart);
    EXPECT_EQ(prompter.prompts(), QStringList{"The device you have selected already used!"});
    SkipVerification = 1;
    EXPECT_EQ(panel->CameraCount, 2);
    EXPECT_TRUE(panel->lbl_NoCamera->isHidden());
    EXPECT_FALSE(panel->Picture1[1]->isHidden());
    EXPECT_TRUE(panel->Picture1[2]->isHidden());
    EXPECT_EQ(status, QStringList({"Initialising Video...", "Initialising Video 1...", "Initialising Video 2..."}));
    ASSERT_TRUE(panel->IsRecording(0));
    EXPECT_EQ(panel->btn_StartRecording[0]->text(), "Stop Recording");
    EXPECT_TRUE(panel->Timer_Video[0]->isActive());
    EXPECT_TRUE(panel->chk_AutoStart[0]->isChecked());
    EXPECT_FALSE(panel->cmb_Device_Select[0]->isEnabled()) << "the choosers wait until the camera stops";
    EXPECT_FALSE(panel->IsRecording(1));
    EXPECT_EQ(panel->DeviceText(1), "Select Device");

    choose(1, "0", "15 minutes");
    panel->btn_StartRecording_Click(1);
    ASSERT_TRUE(panel->IsRecording(1));
    record(1500);
    SetNow(Start.addSecs(60));
    panel->Timer_Video_Timer(0);
    panel->Timer_Video_Timer(1);
    record(1500);
    SetNow(Start.addSecs(120));
    panel->Timer_Video_Timer(0);
    EXPECT_TRUE(panel->Timer_Video[0]->isActive()) << "the minutes of the new file are counted";
    record(1500);
    EXPECT_EQ(videos(), QStringList({"Device 0-2026-3-5--09-05-07.WMV", "Device 0-2026-3-5--09-06-07.WMV",
                                     "Device 0-2026-3-5--09-07-07.WMV", "Device 1-2026-3-5--09-05-07.WMV"}))
        << "fifteen minutes are not up after one";

    // The panel's own button still asks; the stop of the whole station does not.
    SkipVerification = 0;
    bool asked = false;
    WhenModalShown([&](QWidget* dialog) {
        asked = true;
        static_cast<QDialog*>(dialog)->reject();
    });
    panel->btn_StartRecording_Click(0);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(panel->IsRecording(0)) << "a refused verification keeps the camera recording";

    asked = false;
    WhenModalShown([&](QWidget* dialog) {
        asked = true;
        static_cast<QDialog*>(dialog)->reject();
    });
    panel->StopVideoRecording();
    QTest::qWait(300);
    EXPECT_FALSE(asked);
    EXPECT_FALSE(panel->IsRecording(0));
    EXPECT_FALSE(panel->IsRecording(1));
    EXPECT_EQ(panel->btn_StartRecording[1]->text(), "Start Recording");
    EXPECT_FALSE(panel->Timer_Video[0]->isActive());
    EXPECT_TRUE(panel->cmb_Device_Select[0]->isEnabled());
    for (const QString& file : videos())
        expectPlayable(file);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_EQ(prompter.unexpected(), 0) << prompter.prompts().join("\n").toStdString();
}

TEST_F(CctvPanelTest, ChoicesThatCannotRecordAreRefusedAndStoredKeysSurvive)
{
    prepare("Cam0=Enabled\nDevice0= 5\nCamInterval0= 15\n");
    EXPECT_EQ(prompter.prompts(), QStringList({"Device 5 of camera 0 is not attached; camera 0 does not record."}));
    EXPECT_FALSE(panel->IsRecording(0));
    EXPECT_FALSE(panel->chk_AutoStart[0]->isChecked());
    EXPECT_TRUE(windows.iniText().contains("Cam0=Enabled")) << "the camera records again once its device is back";
    prompter.clear();

    panel->btn_StartRecording_Click(0);
    choose(0, "1", "");
    panel->btn_StartRecording_Click(0);
    choose(1, "1", "30 minutes");
    EXPECT_EQ(panel->DeviceText(1), "Select Device");
    EXPECT_EQ(prompter.prompts(), QStringList({"Please Select Device First", "Please Select Interval First",
                                               "The device you have selected already used!"}));
    EXPECT_EQ(prompter.asked()[0].title, "Pallowin - Error");
    EXPECT_EQ(prompter.asked()[2].title, AppTitle);
    EXPECT_FALSE(panel->IsRecording(0));
    EXPECT_TRUE(videos().isEmpty());
    prompter.clear();

    // Marking a camera for start-up needs its choices; a refusal clears the box, whose handler runs again
    // with a verification of its own and writes "Disabled".
    Db::Execute("INSERT INTO tbl_staff SET st_login='admin', st_password='admin', st_access=1");
    SkipVerification = 0;
    ModalDialogs dialogs;
    for (int verification = 0; verification < 2; ++verification)
        dialogs.Then([](QDialog* dialog) {
            Control<QLineEdit>(dialog, "txt_user")->setText("admin");
            Control<QLineEdit>(dialog, "txt_password")->setText("admin");
            Control<QPushButton>(dialog, "btn_Go")->click();
        });
    panel->chk_AutoStart[1]->setChecked(true);
    panel->chk_AutoStart_Click(1);
    EXPECT_EQ(dialogs.shown, QStringList({"frm_VerifyUser", "frm_VerifyUser"}));
    SkipVerification = 1;
    EXPECT_EQ(prompter.prompts(), QStringList({"Please Select Device First"}));
    EXPECT_FALSE(panel->chk_AutoStart[1]->isChecked());
    EXPECT_TRUE(windows.iniText().contains("Cam1=Disabled"));
    choose(1, "0", "30 minutes");
    panel->chk_AutoStart[1]->setChecked(true);
    panel->chk_AutoStart_Click(1);
    const QString ini = windows.iniText();
    for (const char* key : {"CamInterval1= 30\n", "Device1= 0\n", "Cam1=Enabled\n"})
        EXPECT_TRUE(ini.contains(key)) << key << " in\n" << ini.toStdString();

    // The library's own complaints reach the user, and a camera it could not start is not shown recording.
    QFile blocking("Video");
    ASSERT_TRUE(blocking.open(QIODevice::WriteOnly));
    blocking.close();
    prompter.clear();
    panel->btn_StartRecording_Click(1);
    EXPECT_FALSE(panel->IsRecording(1));
    EXPECT_EQ(panel->btn_StartRecording[1]->text(), "Start Recording");
    ASSERT_FALSE(prompter.asked().empty());
    EXPECT_TRUE(prompter.asked()[0].prompt.startsWith("Error ")) << prompter.asked()[0].prompt.toStdString();
    EXPECT_EQ(prompter.asked()[0].style, Msg::Exclamation);
}

TEST_F(CctvPanelTest, AStoredIntervalTheListDoesNotOfferStillRecords)
{
    prepare("Cam0=Enabled\nDevice0= 0\nCamInterval0= 45\nCam1=Enabled\nDevice1= 1\nCamInterval1=half an hour\n");
    EXPECT_TRUE(panel->IsRecording(0));
    EXPECT_EQ(panel->IntervalText(0), "45 minutes");
    EXPECT_EQ(panel->cmb_RecordInterval[0]->itemText(3), "45 minutes") << "in order among the offered lengths";
    EXPECT_FALSE(panel->IsRecording(1));
    EXPECT_EQ(prompter.prompts(), QStringList({"The recording interval half an hour of camera 1 is not a number of "
                                               "minutes from 1 to 1440; camera 1 does not record."}));
    panel->StopVideoRecording();
    EXPECT_TRUE(windows.iniText().contains("CamInterval0= 45\n"));
    EXPECT_TRUE(windows.iniText().contains("Cam1=Enabled\n")) << "a setting no one can use is left for an administrator";
}

// A disk that fills or a camera that goes ends the recording in the library, which tells the user; so
// does a start on a camera unplugged since start-up.
TEST_F(CctvPanelTest, ACameraTheLibraryStoppedIsShownIdleAtTheNextTickAndAnUnpluggedOneAtItsStart)
{
    prepare("");
    choose(0, "1", "1 minutes");
    panel->btn_StartRecording_Click(0);
    ASSERT_TRUE(panel->IsRecording(0));
    record(500);
    CaptureLibrary::Default().DoStopVideoCapture(1);
    SetNow(Start.addSecs(60));
    panel->Timer_Video_Timer(0);
    EXPECT_FALSE(panel->IsRecording(0));
    EXPECT_EQ(panel->btn_StartRecording[0]->text(), "Start Recording");
    EXPECT_FALSE(panel->Timer_Video[0]->isActive());
    EXPECT_EQ(videos().size(), 1);

    record(1500); // the stopped camera has ended: the next start looks for it afresh
    qputenv("CORVANE_TEST_DEVICES", "1");
    panel->btn_StartRecording_Click(0);
    EXPECT_FALSE(panel->IsRecording(0));
    EXPECT_EQ(prompter.prompts(),
              QStringList({"Error 8007048f: Cannot start camera 1: it is not attached (cameras found: 1)"}));
}

TEST_F(CctvPanelTest, AMissingLibraryCostsOnlyTheCameras)
{
    CaptureLibrary missing("NoSuchCaptureLibrary");
    prepare("Cam0=Enabled\nDevice0=0\nCamInterval0=1\n", missing);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("NoSuchCaptureLibrary"));
    EXPECT_EQ(panel->CameraCount, 0);
    EXPECT_FALSE(panel->lbl_NoCamera->isHidden());
    EXPECT_TRUE(panel->btn_StartRecording[0]->isHidden());
}

} // namespace
