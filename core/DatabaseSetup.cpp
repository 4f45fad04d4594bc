#include "DatabaseSetup.h"
#include "Db.h"
#include "EndProgram.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"
#include "SqlQuote.h"

#include <QSet>
#include <numeric>
#include <set>

namespace {

QStringList tableNames(Connection& connection)
{
    QStringList names;
    for (Recordset rs = connection.Query("show tables;"); !rs.EOF_(); rs.MoveNext())
        names << rs.Fields(0).Value();
    return names;
}

QString createStatementOf(Connection& connection, const QString& table)
{
    return connection.Query("SHOW CREATE TABLE " + table + ";")["Create Table"].Value();
}

const QString CreateTable = QStringLiteral("CREATE TABLE ");

// One kind of per-station table: its name for a station, and how to make it from station 1's.
// Another station starting at the same moment may make the same table or row first: what it made
// is taken as it is.
struct StationTable {
    QString prefix;
    QString task;
    QString definition;

    QString name(int station) const { return prefix + QString::number(station); }
    QString createStatement(int station) const
    {
        QString statement = QString(definition).replace(name(1), name(station));
        if (statement.startsWith(CreateTable))
            statement.insert(CreateTable.size(), "IF NOT EXISTS ");
        return statement;
    }
};

// The keys behind the locking reads and look-ups, each on the column it is known by; a database made
// before a key gets it. Without them a locking read locks every row it scans: a sale would hold
// every shop item, a change of one court's date every date of the court.
struct Key {
    QString table;
    QString column;
    QString task;
    QString alteration;
};
const Key Keys[] = {
    {"tbl_booking", "b_invoice", "indexing invoice numbers", "ADD INDEX IF NOT EXISTS invoice (b_invoice)"},
    {"tbl_item", "i_name", "indexing item names", "ADD INDEX IF NOT EXISTS name (i_name)"},
    {"tbl_courtlock", "cl_date", "locking courts by date",
     "ADD COLUMN IF NOT EXISTS cl_date VARCHAR(10) NOT NULL DEFAULT '' AFTER cl_field, DROP PRIMARY KEY, "
     "ADD PRIMARY KEY (cl_field, cl_date)"}};

// An alteration waits for a table that another station holds in the middle of a change (a station
// of the older version among them), and every later statement on that table, of any court or item,
// waits behind it; a change that began while it copied the table holds it up again at its end. So
// each try waits only briefly, and the statements held behind it go through between tries.
constexpr int AlterationWaitSeconds = 2;
constexpr int AlterationTries = 3;

const QString AlterationHeld =
    QStringLiteral("Another station is in the middle of a change, so the database could not be brought up to date "
                   "for this version of the program (%1). The program ends now: please start it again in a moment.");

// Whether the alteration got through before another station's change had kept it out at every try.
bool alter(Connection& connection, const Key& key)
{
    const QString statement = "SET STATEMENT lock_wait_timeout=" + QString::number(AlterationWaitSeconds) +
                              " FOR ALTER TABLE " + key.table + " " + key.alteration;
    for (int tried = 0; tried < AlterationTries; ++tried) {
        try {
            connection.Execute(statement);
            return true;
        } catch (const VbError& e) {
            if (!Db::IsLockConflict(e))
                throw;
        }
    }
    return false;
}

// Whether every key is in place. A key that another station's change kept out is told and ends the
// program: without it this version's changes cannot run, and the next start tries again.
bool addMissingKeys(Connection& connection)
{
    QStringList wanted;
    for (const Key& key : Keys)
        wanted << "(table_name='" + key.table + "' AND column_name='" + key.column + "')";
    QSet<QString> present;
    for (Recordset rs = connection.Query("SELECT table_name, column_name FROM information_schema.statistics WHERE "
                                         "table_schema=DATABASE() AND (" + wanted.join(" OR ") + ")");
         !rs.EOF_(); rs.MoveNext())
        present.insert(rs.Fields(0).Value() + "." + rs.Fields(1).Value());
    for (const Key& key : Keys) {
        if (present.contains(key.table + "." + key.column))
            continue;
        CurrentTask = key.task;
        if (!alter(connection, key)) {
            MsgBox(AlterationHeld.arg(key.task), Msg::Exclamation);
            EndProgram();
            return false;
        }
    }
    return true;
}

// Stations that wait at once for a row that another one is making deadlock on it when that one's
// change is undone (each then holds the gap the row leaves, which the other's insert needs): the
// stations of this version make such rows one at a time. The lock is one server's own, and a replicated
// database may refuse it: there two stations may still meet on a row, and the one chosen to give way
// tries again, finding the row made.
const QString RowMakers = QStringLiteral("'pallowin-courtlock-rows'");

} // namespace

bool AddDatelessCourtRows(Connection& connection, const std::vector<int>& courts)
{
    QStringList list;
    for (int court : courts)
        list << QString::number(court);
    std::set<int> missing(courts.begin(), courts.end());
    for (Recordset rs = connection.Query("SELECT cl_field FROM tbl_courtlock WHERE cl_date='' AND cl_field IN (" +
                                         list.join(',') + ")");
         !rs.EOF_(); rs.MoveNext())
        missing.erase(static_cast<int>(rs.Fields(0).Integer()));
    QStringList rows;
    for (int court : missing)
        rows << "(" + QString::number(court) + ", '')";
    if (rows.isEmpty())
        return true;
    bool oneAtATime = true;
    try {
        if (connection.Query("SELECT GET_LOCK(" + RowMakers + ", " + QString::number(LockWaitSeconds) + ")")
                .Fields(0)
                .Value() != "1")
            return false;
    } catch (const VbError&) {
        oneAtATime = false;
    }
    bool made = false;
    // Any other failure leaves the lock to the end of the connection, which such a failure ends.
    for (int attempt = 1; !made && attempt <= 3; ++attempt) {
        try {
            connection.Execute("INSERT IGNORE INTO tbl_courtlock (cl_field, cl_date) VALUES " + rows.join(','));
            made = true;
        } catch (const VbError& e) {
            if (!Db::IsLockConflict(e))
                throw;
            if (e.nativeError() != ServerErrors::Deadlock)
                break;
        }
    }
    if (oneAtATime)
        connection.Execute("DO RELEASE_LOCK(" + RowMakers + ")");
    return made;
}

bool CheckDatabase()
{
    try {
        CurrentTask = "checking database";
        auto connection = Db::Open();
        QStringList tables;
        for (const QString& name : tableNames(*connection))
            tables << SqlName(name);
        // The check names each table with the database in front: "posdb.tbl_booking".
        const QString database = connection->Query("SELECT DATABASE()").Fields(0).Value() + ".";
        Recordset check = connection->Query("CHECK TABLE " + tables.join(',') + " EXTENDED");
        for (; !check.EOF_(); check.MoveNext()) {
            if (check.Fields(2).Value() != "error")
                continue;
            const QString table = check.Fields(0).Value();
            // The driver leaves the rows of REPAIR TABLE unread, which puts its connection out of
            // step with the server for the next statement: each repair has a connection of its own.
            if (MsgBox("Repair database " + table + " ?", Msg::YesNo | Msg::Critical, "Found Error") == Msg::Yes)
                Db::Open()->Query("REPAIR TABLE " + SqlName(table.mid(database.size())) + " EXTENDED");
        }
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
        return false;
    }
    return true;
}

bool InitDatabase(int stationCount)
{
    try {
        CurrentTask = "accessing database";
        auto connection = Db::Open();
        const QStringList names = tableNames(*connection);
        const QSet<QString> existing(names.begin(), names.end());

        StationTable counter{"tbl_counter", "create initialisation table", {}};
        StationTable shift{"tbl_shift", "creating new shift counter", {}};
        StationTable clipboard{"tbl_booking_clipboard", "creating creating temporary table for booking", {}};
        for (StationTable* kind : {&counter, &shift, &clipboard})
            kind->definition = createStatementOf(*connection, kind->name(1));

        // A database made before the slot changes took turns by court and date, or before invoice numbers
        // were counted, gets the tables they need.
        const std::pair<QString, QString> added[] = {
            {"tbl_courtlock", "cl_field INT NOT NULL, cl_date VARCHAR(10) NOT NULL DEFAULT '', "
                              "cl_changes BIGINT NOT NULL DEFAULT 0, PRIMARY KEY (cl_field, cl_date)"},
            {"tbl_invoicecounter", "ic_id INT NOT NULL PRIMARY KEY, ic_last INT NOT NULL DEFAULT 0"}};
        for (const auto& [table, columns] : added) {
            if (!existing.contains(table)) {
                CurrentTask = "creating " + table;
                connection->Execute("CREATE TABLE IF NOT EXISTS " + table + " (" + columns + ") ENGINE=InnoDB");
            }
        }
        const bool upToDate = addMissingKeys(*connection);
        if (upToDate) {
            CurrentTask = "locking courts by date";
            std::vector<int> courts(MaxCourts);
            std::iota(courts.begin(), courts.end(), 0);
            // A row that another station keeps from being made longer than a statement waits is made by the
            // first change that needs it.
            AddDatelessCourtRows(*connection, courts);
        }

        QSet<int> stationRows;
        for (Recordset rs = connection->Query("SELECT * from tbl_system;"); !rs.EOF_(); rs.MoveNext())
            stationRows.insert(static_cast<int>(rs["sys_counter"].Integer()));

        // Each station number is looked up by itself: the server lists tbl_counter10 before
        // tbl_counter2, and a station may have its tables without its row.
        for (int station = 1; station <= stationCount; ++station) {
            if (!existing.contains(counter.name(station))) {
                CurrentTask = counter.task;
                connection->Execute(counter.createStatement(station));
            }
            if (!stationRows.contains(station)) {
                CurrentTask = "adding new counter";
                connection->Execute("INSERT INTO tbl_system SET sys_counter=" + QString::number(station) +
                                    ", sys_counteractive=1, sys_doclose=0"
                                    " ON DUPLICATE KEY UPDATE sys_counter=sys_counter");
            }
        }
        for (const StationTable* kind : {&shift, &clipboard}) {
            for (int station = 1; station <= stationCount; ++station) {
                if (existing.contains(kind->name(station)))
                    continue;
                CurrentTask = kind->task;
                connection->Execute(kind->createStatement(station));
            }
        }
        return upToDate;
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
        return false;
    }
}
