#pragma once

#include "Db.h"
#include "VbError.h"

#include <QString>
#include <QStringList>
#include <vector>

// One customer waiting for a slot of a date and court type, as the list shows it.
struct WaitListEntry {
    QString id;
    QString name;
    QString tel;
    // "hh:mm:ss", empty for an entry made without an hour.
    QString hour;
};

// A customer to be put on the waiting list.
struct WaitListRequest {
    QString date;
    QString hour;
    QString courtType;
    QString name;
    QString tel;
    QString org;
    QString rate;
    QString staff;
};

// The entry of an Add whose commit was never confirmed: it may be stored or not.
class EntryUnconfirmed : public VbError {
public:
    EntryUnconfirmed(const VbError& error, long long id) : VbError(error), id(id) {}
    long long id;
};

// The statements on tbl_waitlist. A date, hour or court type that the centre does not have throws a
// VbError that names it, before anything is read or written.
class WaitList {
public:
    // The widths of the text columns; the entry dialog's boxes stop there, so nothing typed is cut.
    static constexpr int NameWidth = 255;
    static constexpr int TelWidth = 255;
    static constexpr int OrgWidth = 255;

    // The hours of the business day, "09:00:00" to "23:00:00", "24:00:00", then the hours after
    // midnight up to the closing hour.
    static QStringList Hours();

    // The entries of a business date (the hours after midnight included) and a court type, in the
    // order they were made.
    static std::vector<WaitListEntry> Entries(const QString& date, const QString& courtType);

    // Stores the entry in a transaction of its own and returns its number, which it takes before the
    // commit: when the link breaks while the entry is committed, EntryUnconfirmed carries the number
    // by which Find tells whether it was stored.
    static long long Add(const WaitListRequest& request);
    static Db::Written Find(long long id);

    // Removing an entry another station removed already changes nothing.
    static void Remove(const QString& id);

private:
    static QString checkedDate(const QString& date);
    static int checkedCourtType(const QString& courtType);
};
