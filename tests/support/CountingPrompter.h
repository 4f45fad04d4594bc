#pragma once

#include "Prompter.h"

#include <QMutex>
#include <QStringList>

// Answers OK from any thread and keeps every prompt; the loser of a race between stations shows
// its refusal here.
class CountingPrompter : public Prompter {
public:
    CountingPrompter() { SetPrompter(this); }
    ~CountingPrompter() override { SetPrompter(nullptr); }
    int MsgBox(const QString& prompt, int, const QString&) override
    {
        QMutexLocker lock(&m_mutex);
        prompts << prompt;
        return Msg::OK;
    }
    QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
    QStringList prompts;

private:
    QMutex m_mutex;
};
