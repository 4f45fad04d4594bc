#include "ScriptedPrompter.h"

#include <QStringList>

ScriptedPrompter::ScriptedPrompter() { SetPrompter(this); }

ScriptedPrompter::~ScriptedPrompter() { SetPrompter(nullptr); }

int ScriptedPrompter::MsgBox(const QString& prompt, int style, const QString& title)
{
    m_asked.push_back({prompt, style, title});
    if (m_answers.empty()) {
        ++m_unexpected;
        return Msg::OK;
    }
    int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

QString ScriptedPrompter::InputBox(const QString& prompt, const QString& title, const QString&)
{
    m_asked.push_back({prompt, -1, title});
    if (m_texts.empty()) {
        ++m_unexpected;
        return {};
    }
    QString text = m_texts.front();
    m_texts.pop_front();
    return text;
}

QStringList ScriptedPrompter::prompts() const
{
    QStringList list;
    for (const auto& a : m_asked)
        list << a.prompt;
    return list;
}
