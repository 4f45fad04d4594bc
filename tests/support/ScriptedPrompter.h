#pragma once

#include "Prompter.h"

#include <QString>
#include <deque>
#include <vector>

// Answers message boxes and input boxes from a script and keeps what was asked, in order.
// A box asked with no answer left in the script gets OK (or an empty text) and counts as unexpected.
class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        QString prompt;
        int style;
        QString title;
    };

    ScriptedPrompter();
    ~ScriptedPrompter() override;

    void Answer(int answer) { m_answers.push_back(answer); }
    void Type(const QString& text) { m_texts.push_back(text); }

    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;

    const std::vector<Asked>& asked() const { return m_asked; }
    QStringList prompts() const;
    int unexpected() const { return m_unexpected; }
    void clear() { m_asked.clear(); }

private:
    std::deque<int> m_answers;
    std::deque<QString> m_texts;
    std::vector<Asked> m_asked;
    int m_unexpected = 0;
};
