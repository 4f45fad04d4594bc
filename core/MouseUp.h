#pragma once

#include <QObject>
#include <functional>

class QPoint;
class QWidget;

// The MouseUp event of a list: each release of a mouse button over the widget (a list's viewport)
// calls handler with the button, the shift state and the point on the screen. The event goes on to
// the widget as well, so its own selection stays as the click made it.
using MouseUpHandler = std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, const QPoint&)>;
void OnMouseUp(QWidget* widget, MouseUpHandler handler);
