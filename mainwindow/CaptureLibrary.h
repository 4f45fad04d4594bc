#pragma once

#include <QLibrary>
#include <QString>
#include <cstdint>

// The one binding to the capture library. The library is loaded by name and each export bound at
// its first call, so a station without the library runs on without cameras; a library or export that
// cannot be found throws the VbError a handler shows. Once loaded, the library's own error texts
// reach the user as message boxes, and the program's "Video\" and "Setting\" paths are made paths of
// this system before they are handed over.
class CaptureLibrary {
public:
    // name: the library as the loader knows it, without prefix and suffix.
    explicit CaptureLibrary(QString name = QStringLiteral("Corvane"));
    CaptureLibrary(const CaptureLibrary&) = delete;
    CaptureLibrary& operator=(const CaptureLibrary&) = delete;

    static CaptureLibrary& Default();

    int GetDevicesNum();
    int SetWMProfile(int device, const QString& path);
    // The folder of the file is made when it is missing.
    int SetVideoName(int device, const QString& path);
    // window: the native window that hosts the preview.
    int DoStartVideoCapture(int device, std::uintptr_t window);
    int DoStopVideoCapture(int device);
    // The file the device records into; empty when it records nothing, since a failure (a disk that
    // filled, a camera that went) ended its recording.
    QString GetVideoName(int device);

    // A path as the program writes it ("Video\Device 0-....WMV"): "\" read as "/", relative to the
    // current folder.
    static QString RealPath(const QString& path);

private:
    template <class Function>
    Function bind(Function& cache, const char* name);
    void load();

    QString m_name;
    QLibrary m_library;
    bool m_loaded = false;
    int (*m_getDevicesNum)() = nullptr;
    int (*m_setWMProfile)(int, const char*) = nullptr;
    int (*m_setVideoName)(int, const char*) = nullptr;
    int (*m_doStartVideoCapture)(int, std::uintptr_t) = nullptr;
    int (*m_doStopVideoCapture)(int) = nullptr;
    int (*m_getVideoName)(int, char*, int) = nullptr;
};
