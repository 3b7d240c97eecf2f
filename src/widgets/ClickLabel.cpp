#include "widgets/ClickLabel.h"

#include <QMouseEvent>

Click_Label::Click_Label(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void Click_Label::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
