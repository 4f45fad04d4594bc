#include "CaptureLibrary.h"

#include "Prompter.h"

#include "VbError.h"

#include "Corvane.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QThread>

namespace {

constexpr long CannotFindEntryPoint = 453;

// The library tells of its failures on whichever thread met them, also while the program ends and no
// window can be shown any more; boxes are shown on the window thread.
void ShowLibraryError(const char* text)
{
    const QString message = QString::fromLocal8Bit(text);
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        qWarning("%s", text);
    else if (QThread::currentThread() == application->thread())
        MsgBox(message, Msg::Exclamation);
    else
        QMetaObject::invokeMethod(application, [message] { MsgBox(message, Msg::Exclamation); }, Qt::QueuedConnection);
}

} // namespace

CaptureLibrary::CaptureLibrary(QString name) : m_name(std::move(name)) {}

CaptureLibrary& CaptureLibrary::Default()
{
    static CaptureLibrary library;
    return library;
}

QString CaptureLibrary::RealPath(const QString& path)
{
    return QDir::current().absoluteFilePath(QDir::cleanPath(QString(path).replace('\\', '/')));
}

void CaptureLibrary::load()
{
    if (m_loaded)
        return;
    // The program's own folder first, where the library is delivered beside it; then wherever the
    // system's loader looks.
    const bool bare = QFileInfo(m_name).isRelative();
    m_library.setFileName(bare ? QCoreApplication::applicationDirPath() + "/" + m_name : m_name);
    if (!m_library.load()) {
        m_library.setFileName(m_name);
        if (!m_library.load())
            throw VbError(VbErrors::FileNotFound, "Pallowin",
                          "File not found: " + m_name + " (" + m_library.errorString() + ")");
    }
    auto setErrorSink = reinterpret_cast<decltype(&::fnSetErrorSink)>(m_library.resolve("fnSetErrorSink"));
    if (!setErrorSink)
        throw VbError(CannotFindEntryPoint, "Pallowin", "Can't find DLL entry point fnSetErrorSink in " + m_name);
    setErrorSink(ShowLibraryError);
    m_loaded = true;
}

template <class Function>
Function CaptureLibrary::bind(Function& cache, const char* name)
{
    if (!cache) {
        load();
        cache = reinterpret_cast<Function>(m_library.resolve(name));
        if (!cache)
            throw VbError(CannotFindEntryPoint, "Pallowin",
                          "Can't find DLL entry point " + QString::fromLatin1(name) + " in " + m_name);
    }
    return cache;
}

int CaptureLibrary::GetDevicesNum() { return bind(m_getDevicesNum, "fnGetDevicesNum")(); }

int CaptureLibrary::SetWMProfile(int device, const QString& path)
{
    auto function = bind(m_setWMProfile, "fnSetWMProfile");
    return function(device, RealPath(path).toLocal8Bit().constData());
}

int CaptureLibrary::SetVideoName(int device, const QString& path)
{
    auto function = bind(m_setVideoName, "fnSetVideoName");
    const QString file = RealPath(path);
    QDir().mkpath(QFileInfo(file).path());
    return function(device, file.toLocal8Bit().constData());
}

int CaptureLibrary::DoStartVideoCapture(int device, std::uintptr_t window)
{
    return bind(m_doStartVideoCapture, "fnDoStartVideoCapture")(device, window);
}

int CaptureLibrary::DoStopVideoCapture(int device) { return bind(m_doStopVideoCapture, "fnDoStopVideoCapture")(device); }

QString CaptureLibrary::GetVideoName(int device)
{
    auto function = bind(m_getVideoName, "fnGetVideoName");
    QByteArray name(function(device, nullptr, 0) + 1, '\0');
    function(device, name.data(), static_cast<int>(name.size()));
    return QString::fromLocal8Bit(name.constData());
}
