#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

// Asks the new number of players of one slot, as the grid showed it booked by shownName, and writes
// it on OK; closed any other way it changes nothing.
class frm_AskNPlayer : public QDialog {
    Q_OBJECT

public:
    frm_AskNPlayer(QString date, QString time, int court, QString shownName, QString actionTime, QWidget* owner);

    QLineEdit* txt_NPlayer;
    QPushButton* cmd_AskNPlayer;

public slots:
    void cmd_AskNPlayer_Click();

private:
    QString m_date;
    QString m_time;
    int m_court;
    QString m_shownName;
    QString m_actionTime;
};
