#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

class CaptureLibrary;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

// The "CCTV" tab: up to four cameras, each with a preview, a device and a file-length chooser, a
// start/stop button, a box that marks it for recording at start-up, and a minute timer that starts
// a new file when the chosen length is reached. The recording itself is the capture library's.
class CctvPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int MaxCameras = 4;

    explicit CctvPanel(QWidget* parent = nullptr);
    CctvPanel(CaptureLibrary& library, QWidget* parent = nullptr);
    // The previews go with the panel, so the cameras stop first and their files are finished.
    ~CctvPanel() override;

    QLabel* lbl_NoCamera;
    std::array<QWidget*, MaxCameras> Picture1{};
    std::array<QComboBox*, MaxCameras> cmb_Device_Select{};
    std::array<QComboBox*, MaxCameras> cmb_RecordInterval{};
    std::array<QPushButton*, MaxCameras> btn_StartRecording{};
    std::array<QCheckBox*, MaxCameras> chk_AutoStart{};
    std::array<QTimer*, MaxCameras> Timer_Video{};

    // The cameras offered: the library's device count, at most four.
    int16_t CameraCount = 0;
    QString VideoFolder;
    QString SettingFolder;

    // The last steps of the main window's start-up: counts the cameras, shows their controls and
    // starts those marked "Enabled" in the settings. A library that is missing or fails shows the
    // error window and leaves the panel without cameras; nothing else of the window depends on it.
    void Prepare();

    // Stops every recording camera at once, without asking anyone, so that every file is finished
    // before the program ends or hands over.
    void StopVideoRecording();

    // What the choosers show: "Select Device" and "Select Interval" while nothing is chosen.
    QString DeviceText(int Index) const;
    QString IntervalText(int Index) const;
    bool IsRecording(int Index) const;

public slots:
    void btn_StartRecording_Click(int Index);
    void Timer_Video_Timer(int Index);
    void cmb_Device_Select_Click(int Index);
    // The chooser's text set from code, as the start-up sets the stored device.
    void cmb_Device_Select_Change(int Index);
    void chk_AutoStart_Click(int Index);

private:
    void buildCamera(int camera, class QGridLayout* grid);
    // Verifies the user; a failure to verify is shown and counts as a refusal.
    bool administratorAllows();
    void startCamera(int camera);
    void autoStart(int camera, const QString& device, const QString& interval);
    int storedIntervalItem(int camera, const QString& interval);
    // Writes the camera's [CCTV] keys from the box and the choosers.
    void saveAutoStart(int Index);
    bool startFile(int camera, int device);
    void stopCamera(int camera);
    void setIdle(int camera);
    // Runs a library call of a camera; a failure is shown and leaves the camera idle.
    template <class F>
    void recording(int camera, const QString& task, F&& step);

    CaptureLibrary& m_library;
    // The minutes recorded into the current file, and the device a recording camera runs on.
    std::array<int, MaxCameras> m_minutes{};
    std::array<int, MaxCameras> m_device{-1, -1, -1, -1};
};
