#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

// The outside programs the counter program starts (the mailer), each known by its name and found
// on PATH. Arguments go to the program as a list, never through a shell. A test points a name at
// a script of its own.
namespace OutsideProgram {

// From now on name starts file; an empty file puts the name itself back.
void SetFile(const QString& name, const QString& file);

struct Outcome {
    bool succeeded = false;
    // Why it did not succeed: not started, ended with an error, or did not end in time.
    QString failure;
};

// Starts the program and returns at once; done gets the outcome on the caller's thread once the
// program has ended (succeeded: exit code 0), could not start, or was stopped after timeoutMs.
// Nothing is called when context is gone by then.
void Start(const QString& name, const QStringList& arguments, int timeoutMs, QObject* context,
           std::function<void(const Outcome&)> done);

}
