#include "CctvPanel.h"
#include "CaptureLibrary.h"

#include "Clock.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "LoginStatus.h"
#include "Prompter.h"
#include "Settings.h"
#include "Verification.h"

#include "Vb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString SelectDevice = QStringLiteral("Select Device");
const QString SelectInterval = QStringLiteral("Select Interval");
const QString StartCaption = QStringLiteral("Start Recording");
const QString StopCaption = QStringLiteral("Stop Recording");
const QString ErrorTitle = QStringLiteral("Pallowin - Error");
constexpr int MinuteTick = 60000;
// A file of more than a day is no setting anyone made.
constexpr int LongestInterval = 24 * 60;

// A window of the window system's own for the capture library to draw the live picture into; Qt
// paints nothing over it.
class PreviewBox : public QWidget {
public:
    explicit PreviewBox(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_NativeWindow);
        setFixedSize(320, 240);
    }

protected:
    // Black until the camera's next frame covers it, never what stood there before.
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::black); }
};

} // namespace

CctvPanel::CctvPanel(QWidget* parent) : CctvPanel(CaptureLibrary::Default(), parent) {}

CctvPanel::CctvPanel(CaptureLibrary& library, QWidget* parent) : QWidget(parent), m_library(library)
{
    setObjectName("Frame1");
    lbl_NoCamera = new QLabel("No camera found!, please insert one.", this);
    lbl_NoCamera->setObjectName("lbl_NoCamera");
    auto* grid = new QGridLayout;
    for (int camera = 0; camera < MaxCameras; ++camera)
        buildCamera(camera, grid);
    auto* all = new QVBoxLayout(this);
    all->addWidget(lbl_NoCamera);
    all->addLayout(grid);
    all->addStretch();
}

CctvPanel::~CctvPanel() { StopVideoRecording(); }

void CctvPanel::buildCamera(int camera, QGridLayout* grid)
{
    const QString n = "_" + QString::number(camera);
    Picture1[camera] = new PreviewBox(this);
    Picture1[camera]->setObjectName("Picture1" + n);
    cmb_Device_Select[camera] = new QComboBox(this);
    cmb_Device_Select[camera]->setObjectName("cmb_Device_Select" + n);
    cmb_Device_Select[camera]->setPlaceholderText(SelectDevice);
    cmb_RecordInterval[camera] = new QComboBox(this);
    cmb_RecordInterval[camera]->setObjectName("cmb_RecordInterval" + n);
    cmb_RecordInterval[camera]->setPlaceholderText(SelectInterval);
    cmb_RecordInterval[camera]->addItems({"1 minutes", "15 minutes", "30 minutes", "60 minutes"});
    cmb_RecordInterval[camera]->setCurrentIndex(-1);
    btn_StartRecording[camera] = new QPushButton(StartCaption, this);
    btn_StartRecording[camera]->setObjectName("btn_StartRecording" + n);
    chk_AutoStart[camera] = new QCheckBox("Automatically record when the system start.", this);
    chk_AutoStart[camera]->setObjectName("chk_AutoStart" + n);
    Timer_Video[camera] = new QTimer(this);
    Timer_Video[camera]->setObjectName("Timer_Video" + n);
    Timer_Video[camera]->setInterval(MinuteTick);

    auto* choosers = new QHBoxLayout;
    choosers->addWidget(cmb_Device_Select[camera]);
    choosers->addWidget(cmb_RecordInterval[camera]);
    choosers->addWidget(btn_StartRecording[camera]);
    auto* set = new QVBoxLayout;
    set->addWidget(Picture1[camera]);
    set->addLayout(choosers);
    set->addWidget(chk_AutoStart[camera]);
    grid->addLayout(set, camera / 2, camera % 2);
    for (QWidget* control : std::initializer_list<QWidget*>{Picture1[camera], cmb_Device_Select[camera],
                                                            cmb_RecordInterval[camera], btn_StartRecording[camera],
                                                            chk_AutoStart[camera]}) {
        control->setVisible(false);
        control->setEnabled(false);
    }

    connect(btn_StartRecording[camera], &QPushButton::clicked, this, [this, camera] { btn_StartRecording_Click(camera); });
    connect(Timer_Video[camera], &QTimer::timeout, this, [this, camera] { Timer_Video_Timer(camera); });
    connect(cmb_Device_Select[camera], &QComboBox::activated, this, [this, camera] { cmb_Device_Select_Click(camera); });
    connect(chk_AutoStart[camera], &QCheckBox::clicked, this, [this, camera] { chk_AutoStart_Click(camera); });
}

QString CctvPanel::DeviceText(int Index) const
{
    return cmb_Device_Select[Index]->currentIndex() < 0 ? SelectDevice : cmb_Device_Select[Index]->currentText();
}

QString CctvPanel::IntervalText(int Index) const
{
    return cmb_RecordInterval[Index]->currentIndex() < 0 ? SelectInterval : cmb_RecordInterval[Index]->currentText();
}

bool CctvPanel::IsRecording(int Index) const { return m_device[Index] >= 0; }

void CctvPanel::Prepare()
{
    VideoFolder = "Video\\";
    SettingFolder = "Setting\\";
    SetLoginStatus("Initialising Video...");
    try {
        CurrentTask = "initialising video";
        CameraCount = static_cast<int16_t>(std::clamp(m_library.GetDevicesNum(), 0, MaxCameras));
        lbl_NoCamera->setVisible(CameraCount == 0);
        for (int camera = 0; camera < CameraCount; ++camera)
            for (QWidget* control : std::initializer_list<QWidget*>{
                     Picture1[camera], cmb_Device_Select[camera], cmb_RecordInterval[camera],
                     btn_StartRecording[camera], chk_AutoStart[camera]}) {
                control->setVisible(true);
                control->setEnabled(true);
            }
        for (int camera = 0; camera < CameraCount; ++camera) {
            for (int device = 0; device < CameraCount; ++device)
                cmb_Device_Select[camera]->addItem(QString::number(device));
            cmb_Device_Select[camera]->setCurrentIndex(-1);
            const QString n = QString::number(camera);
            const QString cam = ReadIni("CCTV", "Cam" + n, "1", IniFile);
            const QString device = ReadIni("CCTV", "Device" + n, "1", IniFile);
            const QString interval = ReadIni("CCTV", "CamInterval" + n, "1", IniFile);
            if (cam == "Enabled") {
                SetLoginStatus("Initialising Video " + QString::number(camera + 1) + "...");
                autoStart(camera, device, interval);
            }
        }
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}

// A stored device or length that this station does not offer starts nothing and leaves the stored
// keys as they are, so the camera records again on the day its device is back.
void CctvPanel::autoStart(int camera, const QString& device, const QString& interval)
{
    const QString n = QString::number(camera);
    const int deviceItem = Vb::IsNumeric(device) ? cmb_Device_Select[camera]->findText(QString::number(Vb::Val(device)))
                                                 : -1;
    if (deviceItem < 0) {
        MsgBox("Device " + device + " of camera " + n + " is not attached; camera " + n + " does not record.",
               Msg::Exclamation, ErrorTitle);
        return;
    }
    cmb_Device_Select[camera]->setCurrentIndex(deviceItem);
    cmb_Device_Select_Change(camera);
    if (DeviceText(camera) == SelectDevice)
        return;
    const int intervalItem = storedIntervalItem(camera, interval);
    if (intervalItem < 0) {
        MsgBox("The recording interval " + interval + " of camera " + n + " is not a number of minutes from 1 to " +
                   QString::number(LongestInterval) + "; camera " + n + " does not record.",
               Msg::Exclamation, ErrorTitle);
        return;
    }
    cmb_RecordInterval[camera]->setCurrentIndex(intervalItem);
    // The settings an administrator saved decide; a station signed in by staff alone records too.
    startCamera(camera);
    chk_AutoStart[camera]->setChecked(true);
    saveAutoStart(camera);
}

// The chooser's item of a stored interval. A length the list does not offer (45 minutes, set by
// hand or by an older station) is added to it, so the camera records as it was set up to.
int CctvPanel::storedIntervalItem(int camera, const QString& interval)
{
    QComboBox* chooser = cmb_RecordInterval[camera];
    const double minutes = Vb::IsNumeric(interval) ? Vb::Val(interval) : 0;
    if (minutes < 1 || minutes > LongestInterval || minutes != static_cast<int>(minutes))
        return -1;
    int item = 0;
    for (; item < chooser->count(); ++item) {
        const double offered = Vb::Val(chooser->itemText(item));
        if (offered == minutes)
            return item;
        if (offered > minutes)
            break;
    }
    chooser->insertItem(item, QString::number(static_cast<int>(minutes)) + " minutes");
    return item;
}

void CctvPanel::btn_StartRecording_Click(int Index)
{
    if (Index < 0 || Index >= CameraCount)
        return;
    if (DeviceText(Index) == SelectDevice) {
        MsgBox("Please Select Device First", Msg::Critical, ErrorTitle);
        return;
    }
    if (IntervalText(Index) == SelectInterval) {
        MsgBox("Please Select Interval First", Msg::Critical, ErrorTitle);
        return;
    }
    if (!administratorAllows())
        return;
    if (IsRecording(Index))
        stopCamera(Index);
    else
        startCamera(Index);
}

bool CctvPanel::administratorAllows()
{
    try {
        CurrentTask = "verifying user";
        ShowVerifyUser(window());
        return IsUserAllowed(true);
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
        return false;
    }
}

template <class F>
void CctvPanel::recording(int camera, const QString& task, F&& step)
{
    try {
        CurrentTask = task;
        step();
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
        setIdle(camera);
    }
}

void CctvPanel::startCamera(int camera)
{
    const int device = Vb::CInt(DeviceText(camera));
    recording(camera, "starting video recording", [&] {
        m_minutes[camera] = 0;
        // The library has told the user why a camera did not start; it is not shown as recording.
        if (!startFile(camera, device))
            return;
        m_device[camera] = device;
        Timer_Video[camera]->start();
        btn_StartRecording[camera]->setText(StopCaption);
        // The device and length stay as they are until the camera stops: the library records on
        // the device it was started with.
        cmb_Device_Select[camera]->setEnabled(false);
        cmb_RecordInterval[camera]->setEnabled(false);
    });
}

bool CctvPanel::startFile(int camera, int device)
{
    m_library.SetWMProfile(device, SettingFolder + "IsCapture.prx");
    m_library.SetVideoName(device, VideoFolder + "Device " + QString::number(camera) + "-" +
                                       Now().toString("yyyy-M-d--hh-mm-ss") + ".WMV");
    return m_library.DoStartVideoCapture(device, static_cast<std::uintptr_t>(Picture1[camera]->winId())) == 1;
}

void CctvPanel::stopCamera(int camera)
{
    recording(camera, "stopping video recording", [&] {
        Timer_Video[camera]->stop();
        m_library.DoStopVideoCapture(m_device[camera]);
        setIdle(camera);
    });
}

void CctvPanel::setIdle(int camera)
{
    Timer_Video[camera]->stop();
    m_device[camera] = -1;
    btn_StartRecording[camera]->setText(StartCaption);
    cmb_Device_Select[camera]->setEnabled(true);
    cmb_RecordInterval[camera]->setEnabled(true);
}

void CctvPanel::Timer_Video_Timer(int Index)
{
    if (Index < 0 || Index >= MaxCameras || !IsRecording(Index))
        return;
    recording(Index, "recording video", [&] {
        // The library has told the user why the camera stopped; the panel no longer shows it recording.
        if (m_library.GetVideoName(m_device[Index]).isEmpty()) {
            setIdle(Index);
            return;
        }
        ++m_minutes[Index];
        if (Vb::Val(IntervalText(Index)) > m_minutes[Index])
            return;
        // A complaint of the library waits for its OK; no tick may start another file meanwhile.
        Timer_Video[Index]->stop();
        const int device = m_device[Index];
        m_library.DoStopVideoCapture(device);
        m_minutes[Index] = 0;
        if (startFile(Index, device))
            Timer_Video[Index]->start();
        else
            setIdle(Index);
    });
}

void CctvPanel::StopVideoRecording()
{
    for (int camera = 0; camera < CameraCount; ++camera)
        if (IsRecording(camera))
            stopCamera(camera);
}

void CctvPanel::cmb_Device_Select_Click(int Index)
{
    const QString device = DeviceText(Index);
    if (device == SelectDevice)
        return;
    for (int other = 0; other < CameraCount; ++other)
        if (other != Index && DeviceText(other) == device) {
            MsgBox("The device you have selected already used!");
            cmb_Device_Select[Index]->setCurrentIndex(-1);
            return;
        }
}

// A device set from code is checked as one picked from the list is.
void CctvPanel::cmb_Device_Select_Change(int Index) { cmb_Device_Select_Click(Index); }

void CctvPanel::chk_AutoStart_Click(int Index)
{
    if (administratorAllows())
        saveAutoStart(Index);
}

void CctvPanel::saveAutoStart(int Index)
{
    const QString n = QString::number(Index);
    if (!chk_AutoStart[Index]->isChecked()) {
        if (!WriteIni("CCTV", "Cam" + n, "Disabled", IniFile))
            MsgBox("The camera settings cannot be saved in " + IniFile + ".", Msg::Critical, ErrorTitle);
        return;
    }
    const QString refusal = DeviceText(Index) == SelectDevice       ? "Please Select Device First"
                            : IntervalText(Index) == SelectInterval ? "Please Select Interval First"
                                                                    : QString();
    if (!refusal.isEmpty()) {
        MsgBox(refusal, Msg::Critical, ErrorTitle);
        // Cleared as a user would clear it: the box's handler runs again, verifies again and writes
        // "Disabled".
        chk_AutoStart[Index]->setChecked(false);
        chk_AutoStart_Click(Index);
        return;
    }
    // Numbers are written as the program always wrote them, with a blank before them.
    const bool saved = WriteIni("CCTV", "CamInterval" + n, " " + QString::number(Vb::Val(IntervalText(Index))), IniFile) &&
                       WriteIni("CCTV", "Device" + n, " " + DeviceText(Index), IniFile) &&
                       WriteIni("CCTV", "Cam" + n, "Enabled", IniFile);
    if (!saved)
        MsgBox("The camera settings cannot be saved in " + IniFile + ".", Msg::Critical, ErrorTitle);
}
