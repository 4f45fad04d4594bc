#include "MouseUp.h"

#include <QMouseEvent>
#include <QWidget>

namespace {

class MouseUpFilter : public QObject {
public:
    MouseUpFilter(QWidget* widget, MouseUpHandler handler) : QObject(widget), m_handler(std::move(handler))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            m_handler(mouse->button(), mouse->modifiers(), mouse->globalPosition().toPoint());
        }
        return false;
    }

private:
    MouseUpHandler m_handler;
};

} // namespace

void OnMouseUp(QWidget* widget, MouseUpHandler handler) { new MouseUpFilter(widget, std::move(handler)); }
