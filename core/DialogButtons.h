#pragma once

#include <QString>

class QHBoxLayout;
class QPushButton;
class QWidget;

// "OK" and "Cancel" at the right of a dialog's bottom row, named prefix + "OK" and prefix + "Cancel"
// as the form names them ("cmd_" or "btn_").
struct DialogButtons {
    QPushButton* ok;
    QPushButton* cancel;
    QHBoxLayout* row;
};

DialogButtons MakeOkCancel(QWidget* dialog, const QString& prefix);
