#pragma once

#include <QString>
#include <functional>

// The status line of the login window: the login and the main window's start-up write the step
// under way into it, and it is repainted at once so that it shows while the step runs.
void SetLoginStatus(const QString& text);

// The login window puts its status line here while it is loaded; an empty line drops the text.
void SetLoginStatusLine(std::function<void(const QString&)> line);
