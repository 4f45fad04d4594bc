#include "frm_ErrorDisplay.h"
#include "DatabaseSetup.h"
#include "EndProgram.h"
#include "ErrorDisplay.h"
#include "ErrorReport.h"
#include "Globals.h"
#include "Prompter.h"
#include "SupportMail.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QString keepOnce(QString& keptIn, const QString& report)
{
    if (keptIn.isEmpty())
        keptIn = KeepErrorReport(report);
    return keptIn;
}

} // namespace

void frm_ErrorDisplay::ShowFor(const VbError& error)
{
    frm_ErrorDisplay window(error);
    window.exec();
}

frm_ErrorDisplay::frm_ErrorDisplay(const VbError& error)
{
    setObjectName("frm_ErrorDisplay");
    setWindowTitle(AppTitle);
    setModal(true);
    resize(560, 420);

    lbl_Error = new QLabel(this);
    lbl_Error->setObjectName("lbl_Error");
    lbl_Error->setWordWrap(true);
    QFont heading = lbl_Error->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    lbl_Error->setFont(heading);

    txt_Error = new QPlainTextEdit(this);
    txt_Error->setObjectName("txt_Error");
    txt_Error->setReadOnly(true);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    lbl_Remedies = new QLabel("Tips", Frame1);
    lbl_Remedies->setObjectName("lbl_Remedies");
    lbl_Remedies->setFont(heading);
    lbl_Tips = new QLabel(NoTip, Frame1);
    lbl_Tips->setObjectName("lbl_Tips");
    lbl_Tips->setWordWrap(true);
    auto* tipLayout = new QVBoxLayout(Frame1);
    tipLayout->addWidget(lbl_Remedies);
    tipLayout->addWidget(lbl_Tips);

    btn_Repair = button(this, "btn_Repair", "Repair");
    btn_CopyToClipboard = button(this, "btn_CopyToClipboard", "Send Email to Support");
    btn_Close = button(this, "btn_Close", "Close");
    btn_Close->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn_Repair);
    buttons->addStretch();
    buttons->addWidget(btn_CopyToClipboard);
    buttons->addWidget(btn_Close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbl_Error);
    layout->addWidget(txt_Error, 1);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);

    connect(btn_Close, &QPushButton::clicked, this, &frm_ErrorDisplay::btn_Close_Click);
    connect(btn_Repair, &QPushButton::clicked, this, &frm_ErrorDisplay::btn_Repair_Click);
    connect(btn_CopyToClipboard, &QPushButton::clicked, this, &frm_ErrorDisplay::btn_CopyToClipboard_Click);

    Form_Load(error);
}

void frm_ErrorDisplay::Form_Load(const VbError& error)
{
    m_report = ErrorReport(error);
    txt_Error->setPlainText(m_report);
    lbl_Error->setText(ErrorHeading(error));
    const ErrorTip tip = TipFor(error.number());
    lbl_Tips->setText(tip.text);
    m_endOnClose = tip.endsProgram && DatabaseLossEndsProgram();
}

void frm_ErrorDisplay::btn_Close_Click()
{
    if (m_endOnClose) {
        // The clipboard ends with the program; the file keeps the report for support.
        keepReport();
        EndProgram();
    }
    accept();
}

QString frm_ErrorDisplay::fullReport() const { return lbl_Error->text() + "\r\n\r\n" + m_report; }

QString frm_ErrorDisplay::keepReport() { return keepOnce(*m_keptIn, fullReport()); }

void frm_ErrorDisplay::btn_Repair_Click() { CheckDatabase(); }

void frm_ErrorDisplay::btn_CopyToClipboard_Click()
{
    const QString report = fullReport();
    QApplication::clipboard()->setText(report);

    // The mailer may take a minute and more: the station goes on meanwhile, and how it went is told
    // when the mailer has ended, also when this window was closed before.
    btn_CopyToClipboard->setEnabled(false);
    const QPointer<frm_ErrorDisplay> window(this);
    auto keptIn = m_keptIn;
    StartSupportMail(StationMailSender, report + SupportAppendix(), QCoreApplication::instance(),
                     [window, keptIn, report](const QString& failure) {
                         if (window)
                             window->btn_CopyToClipboard->setEnabled(true);
                         if (!failure.isEmpty()) {
                             const QString kept = keepOnce(*keptIn, report);
                             MsgBox("The email to " + SupportMailbox + " could not be sent.\r\n" + failure +
                                        "\r\n\r\nThe report is on the clipboard" +
                                        (kept.isEmpty() ? QString() : " and in the file " + kept) +
                                        "; please pass it on to technical support another way.",
                                    Msg::Critical);
                             return;
                         }
                         MsgBox("Your email has been sent to " + SupportMailbox + "\r\n" +
                                    "You will be contacted by our technical support via your given email",
                                Msg::Information);
                         if (window && window->isVisible())
                             window->btn_Close_Click();
                     });
}
