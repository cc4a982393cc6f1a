#include "ui/filelist/FileListFooterBar.h"

#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QToolTip>
#include <vector>

FileListFooterBar::FileListFooterBar(QTableView *table, QWidget *parent)
    : QWidget(parent)
    , m_table(table)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QHeaderView *header = table->horizontalHeader();
    const auto follow = [this] { update(); };
    connect(header, &QHeaderView::sectionResized, this, follow);
    connect(header, &QHeaderView::sectionMoved, this, follow);
    connect(header, &QHeaderView::geometriesChanged, this, follow);
    connect(header, &QHeaderView::sectionCountChanged, this, follow);
    connect(table->horizontalScrollBar(), &QScrollBar::valueChanged, this, follow);
}

void FileListFooterBar::setTexts(const FooterTexts &texts)
{
    if (texts == m_texts)
        return;
    m_texts = texts;
    update();
}

QRect FileListFooterBar::cellRect(int column) const
{
    const QHeaderView *header = m_table->horizontalHeader();
    if (column < 0 || column >= header->count() || header->isSectionHidden(column))
        return {};
    return QRect(viewportLeft() + header->sectionViewportPosition(column), 0,
        header->sectionSize(column), height());
}

int FileListFooterBar::viewportLeft() const
{
    // The footer need not sit right under the table's viewport.
    const QWidget *viewport = m_table->viewport();
    return viewport->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
}

QSize FileListFooterBar::sizeHint() const
{
    return {100, fontMetrics().height() + 2 * TextMargin};
}

QSize FileListFooterBar::minimumSizeHint() const
{
    return sizeHint();
}

void FileListFooterBar::setWarning(int column, bool on, const QString &hint)
{
    const int warned = on ? column : -1;
    if (warned == m_warningColumn && hint == m_warningHint)
        return;
    m_warningColumn = warned;
    m_warningHint = hint;
    update();
}

void FileListFooterBar::setWarningColour(const QColor &colour)
{
    m_warningColour = colour;
    update();
}

bool FileListFooterBar::event(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (m_warningColumn >= 0 && cellRect(m_warningColumn).contains(help->pos()))
            QToolTip::showText(help->globalPos(), m_warningHint, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void FileListFooterBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Window));
    painter.setPen(pal.color(QPalette::Mid));
    painter.drawLine(0, 0, width(), 0);
    const QRect visible(viewportLeft(), 0, m_table->viewport()->width(), height());
    painter.setClipRect(visible);
    const QHeaderView *header = m_table->horizontalHeader();
    std::vector<int> shown; // in the order the user sees them
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (column >= 0 && column < FileListColumnCount && !header->isSectionHidden(column))
            shown.push_back(column);
    }
    for (size_t i = 0; i < shown.size();) {
        const size_t first = i;
        const int column = shown[first];
        const QString &text = m_texts[size_t(column)];
        QRect area = cellRect(column);
        // A text wider than its column runs on over the empty cells to its
        // right, as a count under the narrow check column must.
        const int needed
            = text.isEmpty() ? 0 : fontMetrics().horizontalAdvance(text) + 2 * TextMargin;
        size_t last = i;
        while (needed > area.width() && last + 1 < shown.size()
            && m_texts[size_t(shown[last + 1])].isEmpty())
            area = area.united(cellRect(shown[++last]));
        i = last + 1;
        if (!area.intersects(visible))
            continue;
        painter.setPen(pal.color(QPalette::Mid));
        painter.drawLine(area.right(), 1, area.right(), height());
        if (text.isEmpty())
            continue;
        const QRect textRect = area.adjusted(TextMargin, 0, -TextMargin, 0);
        const Qt::Alignment horizontal = last > first
            ? Qt::AlignLeft
            : fileListColumn(FileListColumn(column)).alignment & Qt::AlignHorizontal_Mask;
        painter.setPen(column == m_warningColumn && m_warningColour.isValid()
                ? m_warningColour
                : pal.color(QPalette::WindowText));
        painter.drawText(textRect, int(horizontal | Qt::AlignVCenter),
            fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
    }
}
