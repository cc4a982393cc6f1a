#include "ui/filelist/RowIndicatorHeader.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionHeader>

RowIndicatorHeader::RowIndicatorHeader(QAbstractItemView *view)
    : QHeaderView(Qt::Vertical, view)
    , m_view(view)
{
    setSectionsClickable(false);
    setHighlightSections(false);
}

void RowIndicatorHeader::currentRowChanged(int previous, int current)
{
    for (const int section : {previous, current})
        if (section >= 0)
            viewport()->update(
                0, sectionViewportPosition(section), viewport()->width(), sectionSize(section));
}

QSize RowIndicatorHeader::sizeHint() const
{
    const int width = fontMetrics().height();
    return {width, QHeaderView::sizeHint().height()};
}

void RowIndicatorHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    option.text.clear();
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    if (logicalIndex != m_view->currentIndex().row())
        return;
    // A triangle pointing at the row, in the header's text colour, so it
    // reads on light and dark themes alike.
    const qreal side = std::min(rect.width(), rect.height()) * 0.45;
    const QPointF centre = QRectF(rect).center();
    QPainterPath triangle;
    triangle.moveTo(centre.x() - side / 2, centre.y() - side / 2);
    triangle.lineTo(centre.x() + side / 2, centre.y());
    triangle.lineTo(centre.x() - side / 2, centre.y() + side / 2);
    triangle.closeSubpath();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(triangle, palette().color(QPalette::ButtonText));
    painter->restore();
}
