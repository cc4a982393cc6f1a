#include "ui/common/WindowPlacement.h"

#include <QScreen>
#include <QWidget>

void CentreOverOwner(QWidget *window)
{
    const QWidget *owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    QScreen *screen = owner ? owner->screen() : window->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const QRect over = owner && owner->isVisible() ? owner->frameGeometry() : area;
    QRect frame(QPoint(), window->frameGeometry().size());
    frame.moveCenter(over.center());
    if (area.isValid()) {
        frame.moveRight(std::min(frame.right(), area.right()));
        frame.moveBottom(std::min(frame.bottom(), area.bottom()));
        frame.moveLeft(std::max(frame.left(), area.left()));
        frame.moveTop(std::max(frame.top(), area.top()));
    }
    window->move(frame.topLeft());
}
