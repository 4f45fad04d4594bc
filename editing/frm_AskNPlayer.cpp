#include "frm_AskNPlayer.h"
#include "PlayerCountChange.h"

#include "PlayerCount.h"

#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

frm_AskNPlayer::frm_AskNPlayer(QString date, QString time, int court, QString shownName, QString actionTime,
                               QWidget* owner)
    : QDialog(owner), m_date(std::move(date)), m_time(std::move(time)), m_court(court),
      m_shownName(std::move(shownName)), m_actionTime(std::move(actionTime))
{
    setObjectName("frm_AskNPlayer");
    setWindowTitle("Enter new player count");
    txt_NPlayer = new QLineEdit(this);
    txt_NPlayer->setObjectName("txt_NPlayer");
    cmd_AskNPlayer = new QPushButton("OK", this);
    cmd_AskNPlayer->setObjectName("cmd_AskNPlayer");
    cmd_AskNPlayer->setDefault(true);
    connect(cmd_AskNPlayer, &QPushButton::clicked, this, &frm_AskNPlayer::cmd_AskNPlayer_Click);
    auto* line = new QHBoxLayout(this);
    line->addWidget(txt_NPlayer);
    line->addWidget(cmd_AskNPlayer);
}

void frm_AskNPlayer::cmd_AskNPlayer_Click()
{
    const std::optional<int> players = PlayerCount(txt_NPlayer->text());
    if (!players) {
        // The box keeps what was typed, to be put right.
        MsgBox(PlayerCountMessage, Msg::Critical);
        return;
    }
    try {
        CurrentTask = "changing the player count";
        PlayerCountChange::Write(m_date, m_time, m_court, m_shownName, *players, m_actionTime);
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
        return;
    }
    accept();
}
