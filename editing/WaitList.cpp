#include "WaitList.h"

#include "Db.h"
#include "Globals.h"
#include "SqlQuote.h"

#include <QDate>

namespace {

VbError refused(const QString& what) { return VbError(VbErrors::InvalidArgument, "Pallowin", what); }

QString hourText(int hour) { return QStringLiteral("%1:00:00").arg(hour, 2, 10, QLatin1Char('0')); }

} // namespace

QStringList WaitList::Hours()
{
    QStringList hours;
    for (int hour = HourStart; hour <= 23; ++hour)
        hours << hourText(hour);
    hours << hourText(24);
    for (int hour = 1; hour <= HourEnd; ++hour)
        hours << hourText(hour);
    return hours;
}

QString WaitList::checkedDate(const QString& date)
{
    if (!QDate::fromString(date, "yyyy-MM-dd").isValid())
        throw refused("The waiting-list date \"" + date + "\" is no date.");
    return date;
}

// Court types are numbers: "10" is a court type of its own, not one that sorts before "2".
int WaitList::checkedCourtType(const QString& courtType)
{
    bool number = false;
    const int type = courtType.trimmed().toInt(&number);
    if (!number || type < 0 || type > LastCourtTypeIndex)
        throw refused("The court type \"" + courtType + "\" is not one of the centre's court types.");
    return type;
}

std::vector<WaitListEntry> WaitList::Entries(const QString& date, const QString& courtType)
{
    const QString statement = "SELECT * from tbl_waitlist WHERE w_datetime LIKE '" + SqlQuote(checkedDate(date)) +
                              "%' AND w_field=" + QString::number(checkedCourtType(courtType)) + " ORDER BY w_id";
    std::vector<WaitListEntry> entries;
    for (Recordset rs = Db::Query(statement); !rs.EOF_(); rs.MoveNext())
        entries.push_back({rs["w_id"].Value(), rs["w_bookername"].Value(), rs["w_bookertel"].Value(),
                           rs["w_datetime"].Value().mid(11, 8)});
    return entries;
}

long long WaitList::Add(const WaitListRequest& request)
{
    if (!request.hour.isEmpty() && !Hours().contains(request.hour))
        throw refused("The hour \"" + request.hour + "\" is not an hour of the centre.");
    const QString insert = "INSERT INTO tbl_waitlist SET w_datetime='" + SqlQuote(checkedDate(request.date)) + " " +
                           SqlQuote(request.hour) + "', w_bookertel='" + SqlQuote(request.tel) + "', w_bookerorg='" +
                           SqlQuote(request.org) + "', w_bookername='" + SqlQuote(request.name) +
                           "', w_field=" + QString::number(checkedCourtType(request.courtType)) +
                           ", w_specialrate='" + SqlQuote(request.rate) + "', w_staffname='" + SqlQuote(request.staff) +
                           "'";
    long long id = 0;
    try {
        Db::Transaction([&](Connection& db) {
            db.Execute(insert);
            id = db.Query("SELECT LAST_INSERT_ID()").Fields(0).Integer();
        });
    } catch (const Db::CommitUnconfirmed& lost) {
        throw EntryUnconfirmed(lost, id);
    }
    return id;
}

Db::Written WaitList::Find(long long id)
{
    return Db::FindOut([&](Connection& db) {
        return !db.Query("SELECT w_id FROM tbl_waitlist WHERE w_id=" + QString::number(id) + " FOR UPDATE").EOF_();
    });
}

void WaitList::Remove(const QString& id)
{
    bool number = false;
    const qlonglong entry = id.toLongLong(&number);
    if (!number)
        throw refused("There is no waiting-list entry \"" + id + "\".");
    Db::Execute("DELETE FROM tbl_waitlist where w_id=" + QString::number(entry));
}
