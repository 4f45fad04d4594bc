#pragma once

#include "GridRefresh.h"
#include "SlotGrid.h"

#include <set>

// A grid without widgets: the hour rows of the business day, a selection, and a refresh that reads
// the rows of its date and court as the main window's does.
class TestGrid : public SlotGrid {
public:
    TestGrid(QString date, int court);

    QString GridDate() const override { return date; }
    QString CourtText() const override { return court; }
    int RowCount() const override { return static_cast<int>(texts.size()); }
    QString RowText(int row) const override;
    QString NameCell(int row) const override;
    QString PaidCell(int row) const override;
    bool IsSelected(int row) const override { return selected.count(row) > 0; }
    int CurrentRow() const override { return current; }
    const BookRows& Rows() const override { return rows; }
    QString ActionTime() const override { return "8 Dec 02:05:09 PM"; }
    QWidget* Owner() override { return nullptr; }
    int RefreshView() override;
    void RefreshWaitList() override { ++waitListRefreshes; }

    // The row whose slot time is time ("14:00").
    int RowOf(const QString& time) const;
    void Select(std::initializer_list<QString> times);

    QString date;
    QString court;
    std::set<int> selected;
    int current = 0;
    BookRows rows;
    int refreshes = 0;
    int waitListRefreshes = 0;

private:
    std::vector<QString> texts;
};

// The settings of the test centre: open 08:00 to 03:00, court 0 holding courts 1 and 2, verification
// off with "counter" signed in at station 1 (unless station 1 has its row already).
void UseTestCentre();
