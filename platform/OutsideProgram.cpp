#include "OutsideProgram.h"

#include <QHash>
#include <QProcess>

namespace OutsideProgram {

namespace {
QHash<QString, QString> files;
}

void SetFile(const QString& name, const QString& file)
{
    if (file.isEmpty())
        files.remove(name);
    else
        files.insert(name, file);
}

Outcome Run(const QString& name, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(files.value(name, name), arguments);
    if (!process.waitForStarted(timeoutMs))
        return {false, "The program " + name + " could not be started: " + process.errorString()};
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return {false, "The program " + name + " did not finish within " + QString::number(timeoutMs / 1000) +
                           " seconds and was stopped."};
    }
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit)
        return {false, "The program " + name + " stopped abnormally." + (output.isEmpty() ? "" : "\n" + output)};
    if (process.exitCode() != 0)
        return {false, "The program " + name + " ended with exit code " + QString::number(process.exitCode()) + "." +
                           (output.isEmpty() ? "" : "\n" + output)};
    return {true, {}};
}

}
