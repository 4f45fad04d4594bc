#pragma once

#include <QDialog>

class QCheckBox;

// The station's options; only "Always ask password" is stored, the rest is shown and can be
// changed but nothing reads it.
class frm_Options : public QDialog {
    Q_OBJECT

public:
    explicit frm_Options(QWidget* owner);

    void btn_OK_Click();
    void btn_Cancel_Click();

private:
    void Form_Load();
    void reloadSettings();

    QCheckBox* chk_AlwayAskPassword;
};
