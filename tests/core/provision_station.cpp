// One station's provisioning as a program of its own, so that a test can run two at once:
//   provision_station <connection string> <number of stations>
// Ends with 0 when nothing failed, else prints each failure and ends with 1.

#include "DatabaseSetup.h"
#include "ErrorDisplay.h"
#include "Globals.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    ConnectionString = args[1];
    int failures = 0;
    SetErrorDisplayHandler([&failures](const VbError& e) {
        QTextStream(stderr) << CurrentTask << ": " << e.description() << "\n";
        ++failures;
    });
    InitDatabase(args[2].toInt());
    return failures == 0 ? 0 : 1;
}
