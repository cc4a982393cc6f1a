#include "ui/filelist/FileListModel.h"

#include "app/TextHelpers.h"
#include "filelist/FileListCommands.h"
#include "ui/common/PlainText.h"

#include <QApplication>
#include <QDataStream>
#include <QFont>
#include <QIODevice>
#include <QMimeData>
#include <QStyle>
#include <algorithm>

namespace {

FileListColumn columnOf(const QModelIndex &index)
{
    return FileListColumn(index.column());
}

} // namespace

FileListModel::FileListModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_decimalSeparator(DecimalSeparatorChar())
{ }

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FileListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FileListColumnCount;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_rows.size())
        return {};
    const FileListRow &row = m_rows[size_t(index.row())];
    const FileListColumn column = columnOf(index);
    switch (role) {
    case Qt::DisplayRole:
        return cellText(row, column, m_decimalSeparator);
    case Qt::CheckStateRole:
        if (column == colActive)
            return row.active ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::DecorationRole:
        if (column == colIcon)
            return m_icons.iconFor(row.fileName);
        return {};
    case Qt::FontRole:
        if (column == colFileName) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(fileListColumn(column).alignment);
    case Qt::BackgroundRole:
        if (!row.active && m_dimmedBackground.isValid())
            return m_dimmedBackground;
        return {};
    case Qt::ForegroundRole:
        if (!row.active && m_dimmedText.isValid())
            return m_dimmedText;
        return {};
    case Qt::ToolTipRole:
        if (column == colFileName || column == colDirectory)
            return PlainToolTip(VisibleControlChars(fullFileName(row)));
        return {};
    default:
        return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= FileListColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto column = FileListColumn(section);
    switch (role) {
    case Qt::DisplayRole:
        return columnHeaderText(column, m_strings);
    case Qt::DecorationRole:
        // The check column's header is a picture, not a word.
        if (column == colActive)
            return QIcon::fromTheme(QStringLiteral("object-select"),
                QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton));
        return {};
    case Qt::ToolTipRole:
        return columnCaptionText(column, m_strings);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(fileListColumn(column).alignment);
    default:
        return {};
    }
}

Qt::ItemFlags FileListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (columnOf(index) == colActive)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool FileListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || columnOf(index) != colActive
        || size_t(index.row()) >= m_rows.size())
        return false;
    FileListRow &row = m_rows[size_t(index.row())];
    const bool active = value.value<Qt::CheckState>() == Qt::Checked;
    if (row.active != active) {
        row.active = active;
        // The whole row: an unchecked row is drawn dimmed.
        Q_EMIT dataChanged(
            this->index(index.row(), 0), this->index(index.row(), FileListColumnCount - 1));
    }
    return true;
}

void FileListModel::toggleCheck(int row)
{
    if (IsValidRowIndex(m_rows, row))
        setData(index(row, colActive), m_rows[size_t(row)].active ? Qt::Unchecked : Qt::Checked,
            Qt::CheckStateRole);
}

void FileListModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= FileListColumnCount)
        return;
    reorder([&] { sortRows(m_rows, FileListColumn(column), order); });
}

QStringList FileListModel::mimeTypes() const
{
    return {QLatin1String(RowIdsMimeType)};
}

QMimeData *FileListModel::mimeData(const QModelIndexList &indexes) const
{
    std::vector<int> rows;
    for (const QModelIndex &index : indexes)
        if (index.isValid())
            rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    for (int row : rows)
        stream << quint64(m_rows[size_t(row)].id);
    auto *data = new QMimeData;
    data->setData(QLatin1String(RowIdsMimeType), bytes);
    return data;
}

Qt::DropActions FileListModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

bool FileListModel::dropMimeData(
    const QMimeData *data, Qt::DropAction action, int row, int, const QModelIndex &parent)
{
    if (!data || action != Qt::MoveAction || !data->hasFormat(QLatin1String(RowIdsMimeType)))
        return false;
    // Dropped on a cell: in front of its row.
    if (row < 0 && parent.isValid())
        row = parent.row();
    QByteArray bytes = data->data(QLatin1String(RowIdsMimeType));
    QDataStream stream(&bytes, QIODevice::ReadOnly);
    std::vector<uint64_t> ids;
    while (!stream.atEnd()) {
        quint64 id = 0;
        stream >> id;
        ids.push_back(id);
    }
    moveRows(ids, row);
    return true;
}

void FileListModel::SetLang(const TAppStrings &strings)
{
    m_strings = strings;
    m_decimalSeparator = DecimalSeparatorChar();
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, FileListColumnCount - 1);
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, FileListColumnCount - 1));
}

void FileListModel::setDimmedColours(const QColor &background, const QColor &text)
{
    if (background == m_dimmedBackground && text == m_dimmedText)
        return;
    m_dimmedBackground = background;
    m_dimmedText = text;
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, FileListColumnCount - 1),
            {Qt::BackgroundRole, Qt::ForegroundRole});
}

std::vector<uint64_t> FileListModel::appendFiles(
    const std::vector<FileToAdd> &files, const QString &treeRoot)
{
    std::vector<uint64_t> ids;
    if (files.empty())
        return ids;
    const int first = rowCount();
    beginInsertRows({}, first, first + int(files.size()) - 1);
    appendRows(m_rows, files, m_nextId, m_strings.Main.Ready, treeRoot);
    for (size_t i = size_t(first); i < m_rows.size(); ++i) {
        ids.push_back(m_rows[i].id);
        if (m_indexValid)
            m_indexOfId.insert(m_rows[i].id, int(i));
    }
    endInsertRows();
    return ids;
}

void FileListModel::setSizeEstimate(SizeEstimate estimate)
{
    m_estimate = std::move(estimate);
    int first = -1, last = -1;
    for (int i = 0; i < rowCount(); ++i) {
        FileListRow &row = m_rows[size_t(i)];
        const int64_t size = m_estimate ? m_estimate(row.analysis) : -1;
        if (size == row.expectedSize)
            continue;
        row.expectedSize = size;
        first = first < 0 ? i : first;
        last = i;
    }
    if (first >= 0)
        Q_EMIT dataChanged(
            index(first, colExpectedSize), index(last, colExpectedSize), {Qt::DisplayRole});
}

bool FileListModel::fill(uint64_t id, const FileAnalysisCells &cells)
{
    const int row = indexOfId(id);
    if (row < 0)
        return false;
    m_rows[size_t(row)].analysis = cells;
    if (m_estimate)
        m_rows[size_t(row)].expectedSize = m_estimate(cells);
    Q_EMIT dataChanged(index(row, 0), index(row, FileListColumnCount - 1), {Qt::DisplayRole});
    return true;
}

void FileListModel::setStatus(int row, const QString &status)
{
    if (!IsValidRowIndex(m_rows, row))
        return;
    m_rows[size_t(row)].status = status;
    const QModelIndex cell = index(row, colStatus);
    Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
}

void FileListModel::changeChecks(const std::function<void(std::vector<FileListRow> &)> &command)
{
    command(m_rows);
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, FileListColumnCount - 1));
}

std::vector<RemovedRow> FileListModel::removeRowsAt(const RowSelection &indexes)
{
    std::vector<RemovedRow> removed;
    // Contiguous runs from the last, so the indexes of the runs still to go
    // stay put.
    auto it = indexes.rbegin();
    while (it != indexes.rend()) {
        const int last = *it;
        int first = last;
        while (++it != indexes.rend() && *it == first - 1)
            --first;
        if (first < 0 || size_t(last) >= m_rows.size())
            continue;
        beginRemoveRows({}, first, last);
        RowSelection run;
        for (int row = first; row <= last; ++row) {
            removed.emplace_back(row, m_rows[size_t(row)]);
            run.insert(row);
        }
        ::removeRowsAt(m_rows, run);
        m_indexValid = false;
        endRemoveRows();
    }
    std::sort(removed.begin(), removed.end(),
        [](const RemovedRow &a, const RemovedRow &b) { return a.first < b.first; });
    if (!removed.empty() && !m_rows.empty())
        Q_EMIT dataChanged(index(0, colNo), index(rowCount() - 1, colNo), {Qt::DisplayRole});
    return removed;
}

std::vector<RemovedRow> FileListModel::clearRows()
{
    std::vector<RemovedRow> removed;
    removed.reserve(m_rows.size());
    beginResetModel();
    for (size_t i = 0; i < m_rows.size(); ++i)
        removed.emplace_back(int(i), std::move(m_rows[i]));
    m_rows.clear();
    m_indexOfId.clear();
    m_indexValid = true;
    endResetModel();
    return removed;
}

void FileListModel::restoreRows(std::vector<RemovedRow> rows)
{
    if (rows.empty())
        return;
    // The settings may have changed since they were removed.
    for (auto &[at, row] : rows)
        row.expectedSize = m_estimate ? m_estimate(row.analysis) : -1;
    // Into an empty list at once; otherwise row by row, so that the
    // selection and the current row stay where they are.
    if (m_rows.empty()) {
        beginResetModel();
        RestoreRemovedRows(m_rows, std::move(rows));
        m_indexValid = false;
        endResetModel();
        return;
    }
    RestoreRemovedRows(
        m_rows, std::move(rows), [this](int at) { beginInsertRows({}, at, at); },
        [this] {
            m_indexValid = false;
            endInsertRows();
        });
    Q_EMIT dataChanged(index(0, colNo), index(rowCount() - 1, colNo), {Qt::DisplayRole});
}

void FileListModel::moveRows(const std::vector<uint64_t> &ids, int destination)
{
    if (ids.empty())
        return;
    reorder([&] {
        std::vector<int> moving;
        for (uint64_t id : ids) {
            const int row = indexOfId(id);
            if (row >= 0)
                moving.push_back(row);
        }
        if (moving.empty())
            return;
        std::vector<char> isMoving(m_rows.size(), 0);
        for (int row : moving)
            isMoving[size_t(row)] = 1;
        const int end = destination < 0 ? rowCount() : std::min(destination, rowCount());
        std::vector<FileListRow> reordered;
        reordered.reserve(m_rows.size());
        const auto takeMoving = [&] {
            for (int row : moving)
                reordered.push_back(std::move(m_rows[size_t(row)]));
        };
        for (int row = 0; row < rowCount(); ++row) {
            if (row == end)
                takeMoving();
            if (!isMoving[size_t(row)])
                reordered.push_back(std::move(m_rows[size_t(row)]));
        }
        if (end == rowCount())
            takeMoving();
        m_rows = std::move(reordered);
    });
}

int FileListModel::indexOfId(uint64_t id) const
{
    if (!m_indexValid) {
        m_indexOfId.clear();
        m_indexOfId.reserve(qsizetype(m_rows.size()));
        for (size_t i = 0; i < m_rows.size(); ++i)
            m_indexOfId.insert(m_rows[i].id, int(i));
        m_indexValid = true;
    }
    return m_indexOfId.value(id, -1);
}

void FileListModel::reorder(const std::function<void()> &change)
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<uint64_t> ids;
    ids.reserve(size_t(before.size()));
    for (const QModelIndex &index : before)
        ids.push_back(m_rows[size_t(index.row())].id);
    change();
    m_indexValid = false;
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after.append(index(indexOfId(ids[size_t(i)]), before[i].column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
