#pragma once

#include "VbError.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QGroupBox;

// The common error window: which task failed, the error's report and a tip; it can copy the
// report and mail it to support, and run the table check and repair.
class frm_ErrorDisplay : public QDialog {
    Q_OBJECT

public:
    // Shows the window for error modally, with no owner; the handler of ShowErrorDisplay.
    static void ShowFor(const VbError& error);

    explicit frm_ErrorDisplay(const VbError& error);

    void btn_Close_Click();
    void btn_Repair_Click();
    void btn_CopyToClipboard_Click();

private:
    void Form_Load(const VbError& error);
    // The heading and the report, as copied and mailed.
    QString fullReport() const;
    // Writes the report to its file once: the file's path, "" when it could not be written.
    QString keepReport();

    // After a database failure the station cannot go on: Close ends the program.
    bool m_endOnClose = false;
    QString m_report;
    // Where the report was kept; shared with a mailer that may end after the window has closed.
    std::shared_ptr<QString> m_keptIn = std::make_shared<QString>();

    QLabel* lbl_Error;
    QPlainTextEdit* txt_Error;
    QGroupBox* Frame1;
    QLabel* lbl_Remedies;
    QLabel* lbl_Tips;
    QPushButton* btn_Repair;
    QPushButton* btn_CopyToClipboard;
    QPushButton* btn_Close;
};
