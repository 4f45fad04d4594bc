#pragma once

#include <QCalendarWidget>
#include <QString>

// The month calendar the counter picks its dates on: it reports and accepts the month and year it
// shows, reports the selected day, takes a date as its value, says when the user picked a day, and
// keeps a text tag of the caller's.
class CalendarControl : public QCalendarWidget {
    Q_OBJECT

public:
    explicit CalendarControl(QWidget* parent = nullptr);

    int Month() const;
    int Year() const;
    int Day() const;
    // Moving to a month or year that lacks the selected day selects that month's last day.
    void SetMonth(int month);
    void SetYear(int year);
    void SetValue(const QDate& date);

    QString Tag() const { return m_tag; }
    void SetTag(const QString& tag) { m_tag = tag; }

signals:
    // The user picked a day, once for each pick (setting the value from code does not raise it).
    void DateSelected();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveTo(int year, int month);

    QString m_tag;
    bool m_pickedByMouse = false;
};
