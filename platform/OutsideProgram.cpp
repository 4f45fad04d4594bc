#include "OutsideProgram.h"

#include <QHash>
#include <QPointer>
#include <QProcess>
#include <QTimer>

namespace OutsideProgram {

namespace {

QHash<QString, QString> files;

QString notStarted(const QString& name, const QProcess& process)
{
    return "The program " + name + " could not be started: " + process.errorString();
}

QString notFinished(const QString& name, int timeoutMs)
{
    return "The program " + name + " did not finish within " + QString::number(timeoutMs / 1000) +
           " seconds and was stopped.";
}

// How a program that has ended went.
Outcome endedOutcome(const QString& name, QProcess& process)
{
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit)
        return {false, "The program " + name + " stopped abnormally." + (output.isEmpty() ? "" : "\n" + output)};
    if (process.exitCode() != 0)
        return {false, "The program " + name + " ended with exit code " + QString::number(process.exitCode()) + "." +
                           (output.isEmpty() ? "" : "\n" + output)};
    return {true, {}};
}

} // namespace

void SetFile(const QString& name, const QString& file)
{
    if (file.isEmpty())
        files.remove(name);
    else
        files.insert(name, file);
}

void Start(const QString& name, const QStringList& arguments, int timeoutMs, QObject* context,
           std::function<void(const Outcome&)> done)
{
    // The process outlives the window that started it when that one closes first; it goes once it
    // has ended.
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::MergedChannels);
    auto* limit = new QTimer(process);
    limit->setSingleShot(true);
    const QPointer<QObject> receiver(context);
    // Told once, whichever comes first.
    auto tell = [process, limit, receiver, done](const Outcome& outcome) {
        limit->stop();
        QObject::disconnect(process, nullptr, nullptr, nullptr);
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        if (process->state() == QProcess::NotRunning)
            process->deleteLater();
        if (receiver)
            done(outcome);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [tell, name, process] { tell(endedOutcome(name, *process)); });
    QObject::connect(process, &QProcess::errorOccurred, process, [tell, name, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            tell({false, notStarted(name, *process)});
    });
    QObject::connect(limit, &QTimer::timeout, process, [tell, name, process, timeoutMs] {
        process->kill();
        tell({false, notFinished(name, timeoutMs)});
    });
    limit->start(timeoutMs);
    process->start(files.value(name, name), arguments);
}

}
