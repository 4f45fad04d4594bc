#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

// The number pad on which the quantity of a shop item is typed: whole numbers from 0 to 32767.
class frm_Calculator : public QDialog {
    Q_OBJECT

public:
    explicit frm_Calculator(QWidget* owner);

    // Keys "9" down to "0".
    std::array<QPushButton*, 10> lbl_Key;
    QLabel* lbl_Number;
    QPushButton* lbl_OK;

    void Form_KeyPress(int KeyAscii);
    void lbl_Key_Click(int Index);
    void lbl_OK_Click();

    // The quantity as typed ("007"), once OK was accepted.
    QString Quantity() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
