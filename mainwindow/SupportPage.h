#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The whole text file, every line (empty ones too) preceded by CR LF; what could be read when
// reading fails part-way, the empty text when the file cannot be opened.
QString ReadFile(const QString& SourceFile);

// The "Support" tab: the station's build information (its settings file, database password
// masked), the help notice and the support request.
class SupportPage : public QWidget {
    Q_OBJECT

public:
    explicit SupportPage(QWidget* parent);

    QPlainTextEdit* txt_ProductBuildInformation;
    QPlainTextEdit* txt_SupportInfo;
    QLabel* lbl_EmailAddress;
    QLineEdit* txt_EmailAddress;
    QLabel* lbl_EmailMessage;
    QPlainTextEdit* txt_EmailMessage;
    QCheckBox* chk_AttachConfiguration;
    QPushButton* btn_RequestSupport;

    // Fills the notice and the settings text of the station.
    void Fill(const QString& settingsFile);
    void btn_RequestSupport_Click();
};
