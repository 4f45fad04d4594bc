#pragma once

#include <QString>

#include <utility>

// A control made with the name its form gives it, by which tests and the other windows find it:
// Named<QPushButton>("btn_Pay", "Pa&y", parent).
template <class Control, class... Args>
Control* Named(const QString& name, Args&&... args)
{
    auto* control = new Control(std::forward<Args>(args)...);
    control->setObjectName(name);
    return control;
}
