// What must hold of a day however the stations met, read from the database alone: each check is one
// query whose rows are the anomalies of its class.

#include "Soak.h"

#include "SlotAudit.h"

#include "Globals.h"
#include "Settings.h"
#include "SpecialGroups.h"

#include "Connection.h"


#include <cstdio>

namespace {

const QString Overlap = QStringLiteral("plays overlap on a court");
const QString Together = QStringLiteral("master and dependent booked together");
const QString Marker = QStringLiteral("stuck or orphan marker row");
const QString Audit = QStringLiteral("audit rows disagree with the slot");
const QString Payment = QStringLiteral("paid slot disagrees with the journals");
const QString Stock = QStringLiteral("item stock does not add up");
const QString Hours = QStringLiteral("register hours do not add up");
const QString Numbering = QStringLiteral("receipt or invoice number reused");
const QString Waiting = QStringLiteral("waiting-list customer booked twice or left on the list");

// A row of tbl_booking that holds a booker rather than a marker.
QString booker(const QString& alias)
{
    return alias + ".b_bookername NOT IN ('" + SharedBookingMark + "', '" + PartiallySharedMark + "')";
}

// The minute of the business day at which the hour of a slot key starts: the hours after midnight
// come after hour 24.
QString dayMinute(const QString& key)
{
    const QString hour = "CAST(SUBSTRING(" + key + ", 12, 2) AS UNSIGNED)";
    return "(IF(" + hour + " < " + QString::number(HourStart) + ", " + hour + " + 24, " + hour + ") * 60)";
}

// Every pair of a master court and a court in its space, as a table.
QString sharedPairs()
{
    QStringList pairs;
    for (int court = 0; court <= LastCourtIndex; ++court)
        if (const int master = GetSharedMaster(court); master != -1)
            pairs << "SELECT " + QString::number(master) + " AS master, " + QString::number(court) + " AS dep";
    return "(" + (pairs.isEmpty() ? QString("SELECT -1 AS master, -1 AS dep") : pairs.join(" UNION ALL ")) + ")";
}

// Every station's sales journal as one table, each line with its station, and a court hour's line
// with the slot key and court it was sold for (its text is the court's caption, dd/MM/yyyy and hh:mm).
QString journals(Connection& db)
{
    QStringList courts, lines;
    for (int court = 0; court <= LastCourtIndex; ++court)
        courts << "SELECT '" + CourtDisplayNames[static_cast<size_t>(court)] + "' AS name, " + QString::number(court) +
                      " AS court";
    for (Recordset rs = db.Query("SHOW TABLES LIKE 'tbl_counter%'"); !rs.EOF_(); rs.MoveNext())
        lines << "SELECT " + rs.Fields(0).Value().mid(11) + " AS station, c.* FROM " + rs.Fields(0).Value() + " c";
    return "(SELECT j.*, n.court, CONCAT(STR_TO_DATE(SUBSTRING(j.c_item, CHAR_LENGTH(j.c_item) - 15, 10), "
           "'%d/%m/%Y'), ' ', RIGHT(j.c_item, 5), ':00') AS k FROM (" + lines.join(" UNION ALL ") +
           ") j LEFT JOIN (" + courts.join(" UNION ALL ") +
           ") n ON j.c_itemtype = 'pitch' AND n.name = LEFT(j.c_item, CHAR_LENGTH(j.c_item) - 17))";
}

// The registers whose hours a sale of a court hour raises, as one table of class, name and hours.
QString registers()
{
    QStringList tables{"SELECT 'member' AS cls, m_name AS name, m_hour AS hours FROM tbl_member",
                       "SELECT 'student', st_name, st_hour FROM tbl_student"};
    for (int group : SpecialGroupsWithTables())
        tables << "SELECT 'specialgroup" + QString::number(group) + "', m_name, m_hour FROM tbl_specialgroup" +
                      QString::number(group);
    return "(" + tables.join(" UNION ALL ") + ")";
}

struct Check {
    QString anomaly;
    QString query;
};

std::vector<Check> checks(Connection& db)
{
    const QString pairs = sharedPairs();
    const QString journal = journals(db);
    // Each booker's play as minutes of its business day, on its own court and on every court in its space.
    const QString start = dayMinute("b_datetime") + " + b_delaytime";
    const QString plays = "WITH p AS (SELECT LEFT(b_datetime, 10) AS d, b_field AS court, b_field AS owner, "
                          "b_datetime AS k, b_bookername AS who, " + start + " AS s, " + start +
                          " + b_playlength AS e FROM tbl_booking b WHERE " + booker("b") +
                          " UNION ALL SELECT LEFT(b_datetime, 10), pr.dep, b_field, b_datetime, b_bookername, " +
                          start + ", " + start + " + b_playlength FROM tbl_booking b JOIN " + pairs +
                          " pr ON pr.master = b.b_field WHERE " + booker("b") + ") ";
    const QString hour =
        "IF(SUBSTRING(b.b_datetime, 12, 2) = '24', 0, CAST(SUBSTRING(b.b_datetime, 12, 2) AS UNSIGNED))";
    return {
        // A play that runs into a later hour's play on the same court's space; plays of one hour on a
        // master and its dependent are the next check's.
        {Overlap, plays + "SELECT a.court, a.k AS first, a.owner AS first_court, a.who AS first_booker, a.s, a.e, "
                          "b.k AS second, b.owner AS second_court, b.who AS second_booker, b.s AS second_s FROM p a "
                          "JOIN p b ON a.d = b.d AND a.court = b.court AND a.k <> b.k "
                          "AND (a.s < b.s OR (a.s = b.s AND a.k < b.k)) AND a.e > b.s"},
        {Together, "SELECT m.b_datetime, m.b_field AS master, m.b_bookername, d.b_field AS dependent, d.b_bookername "
                   "AS dependent_booker FROM tbl_booking m JOIN " + pairs + " pr ON pr.master = m.b_field "
                   "JOIN tbl_booking d ON d.b_field = pr.dep AND d.b_datetime = m.b_datetime WHERE " + booker("m") +
                   " AND " + booker("d")},
        // A master's marker counts and covers every dependent booking of its hour.
        {Marker, "SELECT m.b_datetime, m.b_field, m.b_shared, m.b_delaytime, m.b_playlength, COUNT(d.b_field) AS "
                 "dependents, MIN(d.b_delaytime) AS first_start, MAX(d.b_delaytime + d.b_playlength) AS last_end "
                 "FROM tbl_booking m LEFT JOIN " + pairs + " pr ON pr.master = m.b_field LEFT JOIN tbl_booking d ON "
                 "d.b_field = pr.dep AND d.b_datetime = m.b_datetime AND " + booker("d") + " WHERE m.b_bookername = '" +
                 PartiallySharedMark + "' GROUP BY m.b_datetime, m.b_field HAVING dependents = 0 OR dependents <> "
                 "m.b_shared OR first_start < m.b_delaytime OR last_end > m.b_delaytime + m.b_playlength"},
        {Marker, "SELECT d.b_datetime, d.b_field, d.b_bookername, 'no marker on its master' AS fault "
                 "FROM tbl_booking d JOIN " + pairs + " pr ON pr.dep = d.b_field LEFT JOIN tbl_booking m ON "
                 "m.b_field = pr.master AND m.b_datetime = d.b_datetime WHERE " + booker("d") +
                 " AND m.b_field IS NULL"},
        // A dependent's marker stands for its master's booking, with the same start and length.
        {Marker, "SELECT s.b_datetime, s.b_field, s.b_delaytime, s.b_playlength, m.b_field AS master, m.b_bookername "
                 "AS master_booker, m.b_delaytime AS master_start, m.b_playlength AS master_length FROM tbl_booking s "
                 "LEFT JOIN " + pairs + " pr ON pr.dep = s.b_field LEFT JOIN tbl_booking m ON m.b_field = pr.master "
                 "AND m.b_datetime = s.b_datetime WHERE s.b_bookername = '" + SharedBookingMark + "' AND (m.b_field "
                 "IS NULL OR NOT " + booker("m") + " OR m.b_delaytime <> s.b_delaytime OR m.b_playlength <> "
                 "s.b_playlength)"},
        {Marker, "SELECT m.b_datetime, m.b_field, m.b_bookername, pr.dep AS dependent_without_marker "
                 "FROM tbl_booking m JOIN " + pairs + " pr ON pr.master = m.b_field LEFT JOIN tbl_booking s ON "
                 "s.b_field = pr.dep AND s.b_datetime = m.b_datetime WHERE " + booker("m") + " AND s.b_field IS NULL"},
        // Books less cancels make the row there is (a master's marker counts its dependents), and but
        // for a marker the last of them says whether the slot is booked.
        {Audit, "WITH r AS (SELECT m_datetime AS k, m_field AS f, SUM(m_job = 'book') - SUM(m_job = 'cancel') AS net, "
                "MAX(IF(m_job IN ('book', 'cancel'), m_id, NULL)) AS last_id FROM tbl_remark GROUP BY m_datetime, "
                "m_field), slot_keys AS (SELECT k, f FROM r UNION SELECT b_datetime, b_field FROM tbl_booking) "
                "SELECT s.k, s.f, b.b_bookername, b.b_shared, COALESCE(r.net, 0) AS books_less_cancels, "
                "l.m_job AS last_job FROM slot_keys s LEFT JOIN r ON r.k = s.k AND r.f = s.f LEFT JOIN tbl_remark l "
                "ON l.m_id = r.last_id LEFT JOIN tbl_booking b ON b.b_datetime = s.k AND b.b_field = s.f "
                "WHERE COALESCE(r.net, 0) <> CASE WHEN b.b_field IS NULL THEN 0 WHEN b.b_bookername = '" +
                PartiallySharedMark + "' THEN b.b_shared ELSE 1 END OR (IFNULL(b.b_bookername, '') <> '" +
                PartiallySharedMark + "' AND (IFNULL(l.m_job, '') = 'book') <> (b.b_field IS NOT NULL))"},
        {Payment, "SELECT b.b_datetime, b.b_field, b.b_bookername, b.b_paid, COUNT(j.station) AS journal_lines, "
                  "SUM(j.c_itemtotal) AS journal_total FROM tbl_booking b LEFT JOIN " + journal + " j ON j.k = "
                  "b.b_datetime AND j.court = b.b_field WHERE b.b_paid > 0 GROUP BY b.b_datetime, b.b_field "
                  "HAVING journal_lines <> 1 OR journal_total <> b.b_paid"},
        {Payment, "SELECT j.station, j.c_transaction, j.c_item, j.c_itemtotal, b.b_bookername, b.b_paid FROM " +
                  journal + " j LEFT JOIN tbl_booking b ON b.b_datetime = j.k AND b.b_field = j.court WHERE "
                  "j.c_itemtype = 'pitch' AND (b.b_field IS NULL OR b.b_paid = 0)"},
        // The line was priced for the booking the slot holds: its rate class, its rate and its length.
        {Payment, "SELECT j.station, j.c_transaction, j.c_item, j.c_special, j.c_itemprice, j.c_itemquantity, "
                  "j.c_itemtotal, b.b_bookername, b.b_specialrate, b.b_playlength, r.r_rate FROM " + journal +
                  " j JOIN tbl_booking b ON b.b_datetime = j.k AND b.b_field = j.court LEFT JOIN tbl_rate r ON "
                  "r.r_day = DAYNAME(LEFT(b.b_datetime, 10)) AND r.r_field = b.b_field AND r.r_special = "
                  "b.b_specialrate AND r.r_timestart <= " + hour + " AND r.r_timestop >= " + hour + " WHERE "
                  "j.c_special <> b.b_specialrate OR NOT (r.r_rate <=> j.c_itemprice) OR j.c_itemquantity <> "
                  "ROUND(b.b_playlength / 60, 2) OR j.c_itemtotal <> FLOOR((r.r_rate * 100 * b.b_playlength + 30) / "
                  "60) / 100"},
        {Stock, "SELECT i.i_name, s.amount AS at_start, COALESCE(sold.quantity, 0) AS sold, i.i_currentstock FROM "
                "tbl_item i JOIN soak_start s ON s.kind = 'item' AND s.name = i.i_name LEFT JOIN (SELECT c_item, "
                "SUM(c_itemquantity) AS quantity FROM " + journal + " j WHERE c_itemtype <> 'pitch' GROUP BY c_item) "
                "sold ON sold.c_item = i.i_name WHERE s.amount - COALESCE(sold.quantity, 0) <> i.i_currentstock"},
        // One hour per paid court hour of the register's class, on the row of the booker's name.
        {Hours, "SELECT r.cls, r.name, s.amount AS at_start, r.hours, COUNT(b.b_field) AS paid_hours FROM " +
                registers() + " r JOIN soak_start s ON s.kind = r.cls AND s.name = r.name LEFT JOIN tbl_booking b "
                "ON b.b_paid > 0 AND b.b_specialrate = r.cls AND b.b_bookername = r.name GROUP BY r.cls, r.name "
                "HAVING r.hours - at_start <> paid_hours"},
        {Numbering, "SELECT station, c_receipt, GROUP_CONCAT(DISTINCT c_transaction) AS transactions FROM " + journal +
                    " j WHERE c_receipt > 0 GROUP BY station, c_receipt HAVING COUNT(DISTINCT c_transaction) > 1"},
        {Numbering, "SELECT station, c_transaction, GROUP_CONCAT(DISTINCT IFNULL(c_receipt, 0)) AS receipts FROM " +
                    journal + " j GROUP BY station, c_transaction HAVING COUNT(DISTINCT IFNULL(c_receipt, 0)) > 1"},
        // An invoice covers hours of one court on one date, and is numbered once.
        {Numbering, "SELECT b_invoice, GROUP_CONCAT(DISTINCT CONCAT(LEFT(b_datetime, 10), ' court ', b_field)) AS "
                    "covers FROM tbl_booking WHERE b_invoice > 0 GROUP BY b_invoice HAVING COUNT(DISTINCT "
                    "LEFT(b_datetime, 10), b_field) > 1"},
        {Numbering, "SELECT log_do, COUNT(*) AS times FROM tbl_log WHERE log_do LIKE 'Invoice Printed %' GROUP BY "
                    "log_do HAVING times > 1"},
        {Waiting, "SELECT w.w_id, w.w_bookername, b.b_datetime, b.b_field FROM tbl_waitlist w JOIN tbl_booking b ON "
                  "b.b_bookername = w.w_bookername AND b.b_bookertel = w.w_bookertel"},
        {Waiting, "SELECT m_remark AS customer, GROUP_CONCAT(DISTINCT m_staff) AS booked_by FROM tbl_remark WHERE "
                  "m_job = 'book' AND m_remark LIKE ' Wait %' GROUP BY m_remark HAVING COUNT(DISTINCT m_staff) > 1"},
    };
}

QString rowText(const Recordset& rs)
{
    QStringList fields;
    for (int i = 0; i < rs.FieldCount(); ++i)
        fields << rs.Columns()[i] + "=" + rs.Fields(i).Value();
    return fields.join(", ");
}

} // namespace

const std::vector<QString>& AnomalyClasses()
{
    static const std::vector<QString> classes{Overlap, Together, Marker,    Audit,  Payment,
                                              Stock,   Hours,    Numbering, Waiting};
    return classes;
}

void SnapshotStartOfDay(Connection& db)
{
    db.Execute("CREATE TABLE soak_start AS SELECT 'item' AS kind, i_name AS name, i_currentstock AS amount "
               "FROM tbl_item UNION ALL SELECT cls, name, hours FROM " + registers() + " r");
}

Anomalies CheckDay(Connection& db)
{
    Anomalies found;
    for (const Check& check : checks(db))
        for (Recordset rs = db.Query(check.query); !rs.EOF_(); rs.MoveNext())
            found[check.anomaly].push_back(rowText(rs));
    return found;
}

bool SelfCheck(Connection& db)
{
    const QString d = SoakDate + " ";
    auto slot = [&](const QString& time, int court) {
        return " WHERE b_datetime='" + d + time + ":00' AND b_field=" + QString::number(court);
    };
    struct Plant {
        QString anomaly;
        QString what;
        QStringList statements;
    };
    const std::vector<Plant> plants{
        {Overlap, "19:00 on court 3 starts on the hour under 18:00's extra time",
         {"UPDATE tbl_booking SET b_delaytime=0, b_playlength=60" + slot("19:00", 3)}},
        {Together, "a booker on dependent court 1 while master court 0 is booked",
         {"UPDATE tbl_booking SET b_bookername='Planted Team'" + slot("18:00", 1)}},
        {Marker, "the master's marker no longer covers its dependents",
         {"UPDATE tbl_booking SET b_playlength=30" + slot("20:00", 0)}},
        {Marker, "the master's marker counts a dependent too many",
         {"UPDATE tbl_booking SET b_shared=b_shared+1" + slot("20:00", 0)}},
        {Marker, "a dependent's marker without its master's booking",
         {"INSERT INTO tbl_booking SET b_datetime='" + d + "10:00:00', b_field=2, b_bookername='Shared Booking'",
          "INSERT INTO tbl_remark SET m_datetime='" + d +
              "10:00:00', m_field=2, m_job='book', m_remark=' shared booking'"}},
        {Audit, "a cancel audit row for a slot that is still booked",
         {"INSERT INTO tbl_remark SET m_datetime='" + d + "19:00:00', m_field=4, m_job='cancel', m_remark='planted'"}},
        {Payment, "a paid amount that the journal does not hold",
         {"UPDATE tbl_booking SET b_paid=b_paid+5" + slot("18:00", 0)}},
        {Payment, "a paid slot that holds another booking than the one sold",
         {"UPDATE tbl_booking SET b_bookername='Planted Team', b_specialrate='student'" + slot("18:00", 0)}},
        {Stock, "an item's stock one lower than its sales make it",
         {"UPDATE tbl_item SET i_currentstock=i_currentstock-1 ORDER BY i_id LIMIT 1"}},
        {Hours, "a member's hours one higher than the hours paid",
         {"UPDATE tbl_member SET m_hour=m_hour+1 WHERE m_name='Anna Lindqvist'"}},
        {Numbering, "one receipt number for two transactions",
         {"SET @r=(SELECT MIN(c_receipt) FROM tbl_counter1 WHERE c_receipt>0)",
          "UPDATE tbl_counter1 SET c_receipt=@r WHERE c_receipt>@r"}},
        {Numbering, "one invoice number on two courts",
         {"SET @i=(SELECT MAX(b_invoice) FROM tbl_booking)", "UPDATE tbl_booking SET b_invoice=@i" + slot("20:00", 1)}},
        {Waiting, "a booked waiting-list customer still on the list",
         {"INSERT INTO tbl_waitlist SET w_datetime='" + d + "19:00:00', w_field=0, w_bookername='Wait sound', "
          "w_bookertel='W-sound'"}},
        {Waiting, "a waiting-list customer booked by a second station",
         {"INSERT INTO tbl_booking SET b_datetime='" + d + "12:00:00', b_field=5, b_bookername='Wait sound', "
          "b_bookertel='W-sound'",
          "INSERT INTO tbl_remark SET m_datetime='" + d + "12:00:00', m_field=5, m_job='book', m_staff='staff2', "
          "m_remark=' Wait sound W-sound'"}},
    };

    const Anomalies sound = CheckDay(db);
    for (const auto& [anomaly, rows] : sound)
        std::printf("the sound day is flagged: %s: %s\n", qPrintable(anomaly), qPrintable(rows.front()));
    bool ok = sound.empty();
    for (const Plant& plant : plants) {
        db.BeginTrans();
        long long changed = 0;
        for (const QString& statement : plant.statements)
            changed += db.Execute(statement);
        const Anomalies found = CheckDay(db);
        db.RollbackTrans();
        QStringList flagged;
        for (const auto& [anomaly, rows] : found)
            flagged << anomaly + " (" + QString::number(rows.size()) + ")";
        const bool caught = changed > 0 && found.count(plant.anomaly) > 0;
        ok = ok && caught;
        std::printf("%-6s planted %s: flagged %s\n", caught ? "ok" : "MISSED", qPrintable(plant.what),
                    qPrintable(flagged.isEmpty() ? QString("nothing") : flagged.join(", ")));
    }
    return ok;
}
