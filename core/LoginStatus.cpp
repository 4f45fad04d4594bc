#include "LoginStatus.h"

namespace {
std::function<void(const QString&)> statusLine;
}

void SetLoginStatus(const QString& text)
{
    if (statusLine)
        statusLine(text);
}

void SetLoginStatusLine(std::function<void(const QString&)> line) { statusLine = std::move(line); }
