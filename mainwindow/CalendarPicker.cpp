#include "CalendarPicker.h"

#include "CalendarControl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace {

const QStringList MonthNames = {"January", "February", "March",     "April",   "May",      "Jun",
                                "July",    "August",   "September", "October", "November", "December"};
constexpr int FirstYear = 1900;
constexpr int LastYear = 2100;

QString twoDigits(int n) { return QString::number(n).rightJustified(2, '0'); }

} // namespace

CalendarPicker::CalendarPicker(const Names& names, QWidget* parent) : QWidget(parent)
{
    Calendar = new CalendarControl(this);
    Calendar->setObjectName(names.calendar);
    MonthList = new QComboBox(this);
    MonthList->setObjectName(names.month);
    MonthList->addItems(MonthNames);
    MonthList->setEditable(true);
    MonthList->setInsertPolicy(QComboBox::NoInsert);
    // No completion: a month half typed would be completed into another one ("Ma" into March).
    MonthList->setCompleter(nullptr);
    YearList = new QComboBox(this);
    YearList->setObjectName(names.year);
    for (int y = FirstYear; y <= LastYear; ++y)
        YearList->addItem(QString::number(y));
    DateLabel = new QLabel(this);
    DateLabel->setObjectName(names.label);
    QFont big = DateLabel->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.2);
    DateLabel->setFont(big);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(DateLabel, 0, 0, 1, 2);
    grid->addWidget(MonthList, 1, 0);
    grid->addWidget(YearList, 1, 1);
    grid->addWidget(Calendar, 2, 0, 1, 2);
}

void CalendarPicker::SetDate(const QDate& date)
{
    Calendar->SetValue(date);
    showLists();
    writeCaption();
    writeTag();
}

void CalendarPicker::DaySelected()
{
    writeTag();
    showLists();
    reload();
    writeCaption();
}

void CalendarPicker::MonthChosen()
{
    Calendar->SetMonth(MonthList->currentIndex() + 1);
    writeTag();
    if (StartupOver && !StartupOver())
        return;
    reload();
    writeCaption();
}

// The clerk may go on typing: the focus stays in the list until the month is chosen (Enter).
void CalendarPicker::MonthEdited()
{
    const int month = MonthList->findText(MonthList->currentText(), Qt::MatchFixedString);
    if (month < 0)
        return;
    MonthList->setCurrentIndex(month);
    Calendar->SetMonth(month + 1);
    writeTag();
    reload();
    writeCaption();
}

// The Tag keeps the date until a day or a month is chosen.
void CalendarPicker::YearChosen()
{
    Calendar->SetYear(YearList->currentText().toInt());
    writeCaption();
}

void CalendarPicker::writeTag()
{
    Calendar->SetTag(QString::number(Calendar->Year()) + "-" + twoDigits(Calendar->Month()) + "-" +
                     twoDigits(Calendar->Day()));
}

// The lists only follow the calendar here; choosing in them is what reloads.
void CalendarPicker::showLists()
{
    const QSignalBlocker month(MonthList), year(YearList);
    MonthList->setCurrentIndex(Calendar->Month() - 1);
    YearList->setCurrentIndex(Calendar->Year() - FirstYear);
}

void CalendarPicker::writeCaption()
{
    DateLabel->setText(MonthList->currentText() + " " + YearList->currentText());
}

void CalendarPicker::reload()
{
    if (Reload)
        Reload();
    if (FocusAfterReload)
        FocusAfterReload->setFocus();
}
