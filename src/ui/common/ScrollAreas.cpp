#include "ui/common/ScrollAreas.h"

#include <QEvent>
#include <QScrollBar>

QSize VerticalScrollArea::minimumSizeHint() const
{
    return {contentsMinimumWidth() + verticalScrollBar()->sizeHint().width() + 2 * frameWidth(),
        QScrollArea::minimumSizeHint().height()};
}

QSize VerticalScrollArea::sizeHint() const
{
    const QSize contents = widget() ? widget()->sizeHint() : QSize();
    return {std::max(contents.width() + verticalScrollBar()->sizeHint().width(),
                minimumSizeHint().width()),
        contents.height() + 2 * frameWidth()};
}

int VerticalScrollArea::contentsMinimumWidth() const
{
    return widget() ? widget()->minimumSizeHint().width() : 0;
}

bool VerticalScrollArea::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

QSize ContentsScrollArea::sizeHint() const
{
    return widget() ? widget()->sizeHint() + QSize(2 * frameWidth(), 2 * frameWidth())
                    : QScrollArea::sizeHint();
}

QSize ContentsScrollArea::missingSize() const
{
    if (!widget())
        return {};
    const QSize missing = widget()->minimumSizeHint() - maximumViewportSize();
    return missing.expandedTo(QSize(0, 0));
}

void ContentsScrollArea::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    fitContents();
}

bool ContentsScrollArea::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        fitContents();
    return QScrollArea::eventFilter(watched, event);
}

void ContentsScrollArea::fitContents()
{
    if (!widget())
        return;
    const QSize minimum = widget()->minimumSizeHint();
    QSize room = maximumViewportSize();
    // A scroll bar one way takes room the other way.
    if (minimum.width() > room.width())
        room.rheight() -= horizontalScrollBar()->sizeHint().height();
    if (minimum.height() > room.height())
        room.rwidth() -= verticalScrollBar()->sizeHint().width();
    if (minimum.width() > room.width() && room.height() == maximumViewportSize().height())
        room.rheight() -= horizontalScrollBar()->sizeHint().height();
    widget()->resize(room.expandedTo(minimum));
}
