#include "ui/filelist/FileListView.h"

#include "app/NonUtf8Names.h"
#include "ui/filelist/FileListModel.h"
#include "ui/filelist/RowIndicatorHeader.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QUrl>

namespace {

enum class ListKey { None, Delete, Toggle, Undo, ContextMenu };

ListKey listKeyOf(const QKeyEvent *event)
{
    if (event->matches(QKeySequence::Undo))
        return ListKey::Undo;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    // Shift+F10 is the desktop's other context-menu key; plain F10 stays the
    // file information command.
    if (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)
        return ListKey::ContextMenu;
    if (modifiers != Qt::NoModifier)
        return ListKey::None;
    if (event->key() == Qt::Key_Delete)
        return ListKey::Delete;
    if (event->key() == Qt::Key_Space)
        return ListKey::Toggle;
    return ListKey::None;
}

} // namespace

FileListView::FileListView(QWidget *parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDragDropOverwriteMode(false);
    setDropIndicatorShown(true);
    setDefaultDropAction(Qt::MoveAction);
    setAcceptDrops(true);
    setDragEnabled(true);
    // Tab leaves the list for the next control instead of walking its cells.
    setTabKeyNavigation(false);
    m_rowIndicator = new RowIndicatorHeader(this);
    setVerticalHeader(m_rowIndicator);
    // Every row the same height: the view never measures rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSortIndicatorShown(false);
}

void FileListView::setRowIndicatorVisible(bool on)
{
    m_rowIndicator->setVisible(on);
}

void FileListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    m_rowIndicator->currentRowChanged(previous.row(), current.row());
}

QColor FileListView::selectedGridColor() const
{
    const bool focused = hasFocus();
    const QColor selection
        = palette().color(focused ? QPalette::Active : QPalette::Inactive, QPalette::Highlight);
    if (focused && selectionModel() && selectionModel()->selectedRows().size() == 1)
        return selection;
    return QColor(selection.red() - selection.red() / 10,
        selection.green() - selection.green() / 10, selection.blue() - selection.blue() / 10);
}

void FileListView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (hasFocus() && !currentIndex().isValid())
        paintFocusFrame();
    if (!showGrid() || !selectionModel() || !selectionModel()->hasSelection() || !model())
        return;
    // Each selected cell's own grid lines, right and bottom, over the plain
    // ones the table has drawn; only the rows and columns being painted.
    const QRect area = event->rect();
    const int firstRow = rowAt(area.top());
    if (firstRow < 0)
        return; // below the last row
    const int lastRow = rowAt(area.bottom()) < 0 ? model()->rowCount() - 1 : rowAt(area.bottom());
    const QHeaderView *columns = horizontalHeader();
    const int firstColumn = std::max(columns->visualIndexAt(area.left()), 0);
    const int lastColumn = columns->visualIndexAt(area.right()) < 0
        ? columns->count() - 1
        : columns->visualIndexAt(area.right());
    QPainter painter(viewport());
    painter.setPen(selectedGridColor());
    for (int row = firstRow; row <= lastRow; ++row) {
        if (isRowHidden(row) || !selectionModel()->isRowSelected(row, rootIndex()))
            continue;
        for (int visual = firstColumn; visual <= lastColumn; ++visual) {
            const int column = columns->logicalIndex(visual);
            if (isColumnHidden(column))
                continue;
            const QRect cell = visualRect(model()->index(row, column, rootIndex()));
            painter.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
            painter.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
        }
    }
}

void FileListView::paintFocusFrame()
{
    // With no current row no cell draws the focus, so the viewport does:
    // an empty list the user tabs to shows where the keys go.
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = viewport()->rect().adjusted(1, 1, -1, -1);
    option.backgroundColor = palette().color(QPalette::Base);
    QPainter painter(viewport());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void FileListView::setRowMovingAllowed(bool on)
{
    m_rowMovingAllowed = on;
    setDragEnabled(on);
}

QStringList FileListView::droppedPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data)
        return paths;
    // The raw list rather than QMimeData::urls(): a name whose bytes are not
    // UTF-8 must stay recognisable, not turn into U+FFFD.
    const QByteArray list = data->data(QStringLiteral("text/uri-list"));
    QList<QUrl> urls;
    if (list.isEmpty()) {
        urls = data->urls();
    } else {
        for (QByteArray line : list.split('\n')) {
            line = line.trimmed();
            if (!line.isEmpty() && !line.startsWith('#'))
                urls.append(QUrl::fromEncoded(line));
        }
    }
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QByteArray bytes
            = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        paths.append(DecodeLocalName(bytes));
    }
    return paths;
}

bool FileListView::event(QEvent *event)
{
    // The list's keys win over the window's shortcuts while it has the focus.
    if (event->type() == QEvent::ShortcutOverride
        && listKeyOf(static_cast<QKeyEvent *>(event)) != ListKey::None) {
        event->accept();
        return true;
    }
    return QTableView::event(event);
}

void FileListView::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        Q_EMIT appearanceChanged();
}

void FileListView::keyPressEvent(QKeyEvent *event)
{
    switch (listKeyOf(event)) {
    case ListKey::Delete:
        Q_EMIT deletePressed();
        break;
    case ListKey::Toggle:
        Q_EMIT togglePressed();
        break;
    case ListKey::Undo:
        Q_EMIT undoPressed();
        break;
    case ListKey::ContextMenu:
        requestKeyboardContextMenu();
        break;
    case ListKey::None:
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void FileListView::requestKeyboardContextMenu()
{
    // At the current row, as the Menu key does; the position is the
    // viewport's, like that of a right click.
    const QRect current = visualRect(currentIndex());
    const QPoint pos = current.isValid() && viewport()->rect().intersects(current)
        ? QPoint(current.left() + current.height() / 2, current.center().y())
        : QPoint(0, 0);
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, pos, viewport()->mapToGlobal(pos));
    QCoreApplication::sendEvent(this, &menu);
}

void FileListView::startDrag(Qt::DropActions)
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty() || !model())
        return;
    // The drop moves the rows itself; nothing is removed afterwards, as the
    // base class would do for a move.
    auto *drag = new QDrag(this);
    drag->setMimeData(model()->mimeData(rows));
    drag->exec(Qt::MoveAction);
}

bool FileListView::isRowDrag(const QDropEvent *event) const
{
    return event->source() == this && m_rowMovingAllowed
        && event->mimeData()->hasFormat(QLatin1String(FileListModel::RowIdsMimeType));
}

void FileListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (isRowDrag(event)) {
        QTableView::dragEnterEvent(event);
    } else if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void FileListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (isRowDrag(event)) {
        QTableView::dragMoveEvent(event);
    } else if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void FileListView::dropEvent(QDropEvent *event)
{
    if (isRowDrag(event)) {
        QTableView::dropEvent(event);
        return;
    }
    if (!event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    const QStringList paths = droppedPaths(event->mimeData());
    if (!paths.isEmpty())
        Q_EMIT pathsDropped(paths);
}
