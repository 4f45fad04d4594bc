#pragma once

#include "PageView.h"

#include <QWidget>

class QPushButton;

// Sends the bookings from the present hour on to the online portal's schedule page and shows its
// answer. No control of the program opens it yet.
class frm_quorrinUpdate : public QWidget {
    Q_OBJECT

public:
    explicit frm_quorrinUpdate(QWidget* owner = nullptr);

    QPushButton* cmd_OK;

    // Database failures throw.
    void Form_Load();
    void cmd_OK_Click();

private:
    std::unique_ptr<PageView> WebBrowser;
};
