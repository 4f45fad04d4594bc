#pragma once

#include "Money.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// A miscellaneous sale: a free description and its price.
class frm_MiscItem : public QDialog {
    Q_OBJECT

public:
    explicit frm_MiscItem(QWidget* owner);

    QLineEdit* txt_TextItem;
    QLineEdit* txt_ItemPrice;
    QPushButton* txt_OK;
    QPushButton* txt_Cancel;

    void txt_OK_Click();
    void txt_Cancel_Click();

    // What was accepted by OK.
    QString Description() const;
    Money Price() const { return m_price; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Money m_price;
};
