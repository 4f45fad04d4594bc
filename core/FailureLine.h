#pragma once

#include "Named.h"

#include <QLabel>

// The red line over a list that says why the list could not be read and what it shows meanwhile;
// hidden while the list reads well.
inline QLabel* FailureLine(const QString& name, QWidget* parent)
{
    auto* line = Named<QLabel>(name, parent);
    line->setStyleSheet("color: #c00000; font-weight: bold");
    line->setWordWrap(true);
    line->hide();
    return line;
}
