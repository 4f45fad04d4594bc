#pragma once

#include <QLabel>

// A label or picture that answers a click, as the station label and the light switches do.
class ClickLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
