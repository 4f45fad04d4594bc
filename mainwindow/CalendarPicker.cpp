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
    cmd_CalendarMonth = new QComboBox(this);
    cmd_CalendarMonth->setObjectName(names.month);
    cmd_CalendarMonth->addItems(MonthNames);
    cmd_CalendarYear = new QComboBox(this);
    cmd_CalendarYear->setObjectName(names.year);
    for (int y = FirstYear; y <= LastYear; ++y)
        cmd_CalendarYear->addItem(QString::number(y));
    lbl_DateLabel = new QLabel(this);
    lbl_DateLabel->setObjectName(names.label);
    QFont big = lbl_DateLabel->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.2);
    lbl_DateLabel->setFont(big);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(lbl_DateLabel, 0, 0, 1, 2);
    grid->addWidget(cmd_CalendarMonth, 1, 0);
    grid->addWidget(cmd_CalendarYear, 1, 1);
    grid->addWidget(Calendar, 2, 0, 1, 2);

    connect(Calendar, &CalendarControl::DateSelected, this, &CalendarPicker::Calendar_DateSelected);
    connect(cmd_CalendarMonth, &QComboBox::activated, this, &CalendarPicker::cmd_CalendarMonth_Click);
    connect(cmd_CalendarYear, &QComboBox::activated, this, &CalendarPicker::cmd_CalendarYear_Click);
}

void CalendarPicker::SetDate(const QDate& date)
{
    Calendar->SetValue(date);
    showLists();
    writeCaption();
    writeTag();
}

void CalendarPicker::Calendar_DateSelected()
{
    writeTag();
    showLists();
    reload();
    writeCaption();
}

void CalendarPicker::cmd_CalendarMonth_Click()
{
    Calendar->SetMonth(cmd_CalendarMonth->currentIndex() + 1);
    writeTag();
    if (StartupOver && !StartupOver())
        return;
    reload();
    writeCaption();
}

// The Tag keeps the date until a day or a month is chosen.
void CalendarPicker::cmd_CalendarYear_Click()
{
    Calendar->SetYear(cmd_CalendarYear->currentText().toInt());
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
    const QSignalBlocker month(cmd_CalendarMonth), year(cmd_CalendarYear);
    cmd_CalendarMonth->setCurrentIndex(Calendar->Month() - 1);
    cmd_CalendarYear->setCurrentIndex(Calendar->Year() - FirstYear);
}

void CalendarPicker::writeCaption()
{
    lbl_DateLabel->setText(cmd_CalendarMonth->currentText() + " " + cmd_CalendarYear->currentText());
}

void CalendarPicker::reload()
{
    if (Reload)
        Reload();
    if (FocusAfterReload)
        FocusAfterReload->setFocus();
}
