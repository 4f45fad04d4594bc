// One station's paste of the waiting-list entry it cut, as a program of its own, so that a test can
// have two stations paste at the same moment:
//   paste_station <connection string> <date> <time> <entry id> <now>
// Runs at the test's clock (now, ISO 8601), so that whether an hour is past does not depend on when the
// tests run. Reads the entry and plans the paste onto court 3 at time of date as the paste does, prints
// "ready", and books when a line arrives on standard input, as the paste does once its user is verified.
// Prints every message it shows, one a line, and ends with 0 (1 when the database failed).

#include "Booking.h"
#include "SlotChanges.h"
#include "SlotOffers.h"
#include "TestGrid.h"

#include "Clock.h"
#include "Globals.h"
#include "Prompter.h"

#include "VbError.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

class PrintingPrompter : public Prompter {
public:
    int MsgBox(const QString& prompt, int, const QString&) override
    {
        QTextStream(stdout) << QString(prompt).replace('\n', ' ') << "\n";
        return Msg::OK;
    }
    QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6)
        return 2;
    ConnectionString = args[1];
    SetNow(QDateTime::fromString(args[5], Qt::ISODate));
    HourStart = 8;
    HourEnd = 2;
    SkipVerification = 1;
    CounterNumber = 1;
    WaitListCutId = args[4];
    PasteFromWaitList = true;
    PrintingPrompter prompter;
    SetPrompter(&prompter);
    TestGrid grid(args[2], 3);
    grid.Select({args[3]});
    try {
        const std::optional<Booker> booker = ClipboardBooker();
        const auto plan = PlanSelectedRows(grid, Planning::Paste);
        QTextStream(stdout) << "ready" << Qt::endl;
        QTextStream(stdin).readLine();
        if (booker && plan)
            BookSlots(grid, {{args[2], args[3]}}, *booker, "3", CutEntry::TakenWithBooker);
    } catch (const VbError& e) {
        QTextStream(stderr) << e.description() << "\n";
        return 1;
    }
    return 0;
}
