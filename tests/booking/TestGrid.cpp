#include "TestGrid.h"

#include "Db.h"
#include "Globals.h"
#include "SlotAudit.h"

TestGrid::TestGrid(QString d, int c) : date(std::move(d)), court(QString::number(c))
{
    for (const HourRow& r : BusinessDayRows())
        texts.push_back(r.span);
    rows.assign(texts.size() + 1, BookRow());
}

QString TestGrid::RowText(int row) const
{
    return row >= 1 && row <= RowCount() ? texts[static_cast<size_t>(row) - 1] : QString();
}

QString TestGrid::NameCell(int row) const { return rows[static_cast<size_t>(row)].bookerName; }

QString TestGrid::PaidCell(int row) const
{
    const Money paid = rows[static_cast<size_t>(row)].paid;
    return paid > Money() ? paid.Format() : QString();
}

int TestGrid::RefreshView()
{
    ++refreshes;
    rows = ReadBookRows(*Db::Open(), date, court, RowCount());
    return 1;
}

int TestGrid::RowOf(const QString& time) const
{
    for (int r = 1; r <= RowCount(); ++r)
        if (RowText(r).startsWith(time))
            return r;
    return 0;
}

void TestGrid::Select(std::initializer_list<QString> times)
{
    selected.clear();
    for (const QString& t : times)
        selected.insert(RowOf(t));
    current = times.size() ? RowOf(*times.begin()) : 0;
}

void UseTestCentre()
{
    HourStart = 8;
    HourEnd = 2;
    SharedCourtPairs.fill(QString());
    SharedCourtPairs[0] = "0&1";
    SharedCourtPairs[1] = "0&2";
    for (int i = 0; i < MaxCourts; ++i)
        CourtDisplayNames[static_cast<size_t>(i)] = "Court " + QString::number(i + 1);
    SkipVerification = 1;
    PerPersonChargingOn = 0;
    PasteFromWaitList = false;
    SlotDate.clear();
    Db::Execute("INSERT IGNORE INTO tbl_system SET sys_counter=1, sys_counterstaff='counter'");
}
