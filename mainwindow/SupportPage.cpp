#include "SupportPage.h"
#include "SupportRequest.h"

#include "ErrorReport.h"

#include "Named.h"
#include "Profile.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString SupportNotice = QStringLiteral(
    "Zentrel Booking Manager support\n\n"
    "Email: support@zentrel-booking.example\n"
    "Telephone: +1 555 0100 (Monday to Saturday, 08:00 to 20:00)\n\n"
    "The help pages, answers to frequent questions and the tutorial videos are on "
    "www.zentrel-booking.example/help.\n\n"
    "When you ask for help, please include the product build information shown on this page: "
    "it tells us how this counter is set up.");

QPlainTextEdit* readOnlyText(const char* name, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

} // namespace

QString ReadFile(const QString& SourceFile)
{
    // Decoded as the settings layer reads it, so a file brought from a Windows counter shows its
    // accents here and in the support mail as it does in the program.
    QString text = Profile::Text(SourceFile);
    if (text.isEmpty())
        return {};
    text.replace("\r\n", "\n");
    if (text.endsWith('\n'))
        text.chop(1);
    // Each line after a line break, as the support mail has always had it.
    return "\r\n" + text.replace('\n', "\r\n");
}

SupportPage::SupportPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("frame_SupportTab");
    auto* about = new QGroupBox("Product Build Information", this);
    about->setObjectName("frame_About");
    txt_ProductBuildInformation = readOnlyText("txt_ProductBuildInformation", about);
    (new QVBoxLayout(about))->addWidget(txt_ProductBuildInformation);

    auto* help = new QGroupBox("Help, Faq, Tutorial Video && Documentations ", this);
    help->setObjectName("frame_HelpLinks");
    txt_SupportInfo = readOnlyText("txt_SupportInfo", help);
    (new QVBoxLayout(help))->addWidget(txt_SupportInfo);

    auto* request = new QGroupBox("Request Support", this);
    request->setObjectName("frame_RequestSupport");
    lbl_EmailAddress = Named<QLabel>("lbl_EmailAddress", "Email Address", request);
    txt_EmailAddress = Named<QLineEdit>("txt_EmailAddress", request);
    lbl_EmailMessage = Named<QLabel>("lbl_EmailMessage", "Message", request);
    txt_EmailMessage = Named<QPlainTextEdit>("txt_EmailMessage", request);
    chk_AttachConfiguration = new QCheckBox("Attach configuration file", request);
    chk_AttachConfiguration->setObjectName("chk_AttachConfiguration");
    btn_RequestSupport = new QPushButton("Request Support", request);
    btn_RequestSupport->setObjectName("btn_RequestSupport");
    auto* form = new QFormLayout(request);
    form->addRow(lbl_EmailAddress, txt_EmailAddress);
    form->addRow(lbl_EmailMessage, txt_EmailMessage);
    form->addRow(chk_AttachConfiguration);
    form->addRow(btn_RequestSupport);
    connect(btn_RequestSupport, &QPushButton::clicked, this, &SupportPage::btn_RequestSupport_Click);

    auto* all = new QGridLayout(this);
    all->addWidget(about, 0, 0, 2, 1);
    all->addWidget(help, 0, 1);
    all->addWidget(request, 1, 1);
    all->setColumnStretch(0, 1);
    all->setColumnStretch(1, 1);
}

void SupportPage::Fill(const QString& settingsFile)
{
    txt_SupportInfo->setPlainText(SupportNotice);
    // The page is on screen for anyone at the counter: the database password stays hidden.
    txt_ProductBuildInformation->setPlainText(MaskDatabasePassword(ReadFile(settingsFile)));
}

void SupportPage::btn_RequestSupport_Click()
{
    // The mailer may take a minute to give up on a mail server; the counter goes on meanwhile, and
    // the button stays disabled so that one request is not sent twice.
    btn_RequestSupport->setEnabled(false);
    const SupportRequest request(txt_EmailAddress->text(), txt_EmailMessage->toPlainText(),
                                 chk_AttachConfiguration->isChecked(), txt_ProductBuildInformation->toPlainText());
    request.Send(this, [this](bool sent) {
        // One request per run of the window; a mail that did not leave may be tried again.
        btn_RequestSupport->setEnabled(!sent);
    });
}
