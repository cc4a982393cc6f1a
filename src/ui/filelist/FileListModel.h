#pragma once

#include "filelist/FileListAdding.h"
#include "filelist/FileListColumns.h"
#include "filelist/FileListRow.h"
#include "filelist/RemovalHistory.h"
#include "i18n/AppStrings.h"
#include "ui/filelist/FileIcons.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <functional>
#include <utility>
#include <vector>

// The rows of the file list as a table: what each cell shows comes from the
// core (cell texts, sort keys, commands); this class only tells the views
// what changed, one row at a time where one row changed.
class FileListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The drag of rows inside the list carries their ids.
    static constexpr auto RowIdsMimeType = "application/x-quillon-row-ids";

    explicit FileListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    void sort(int column, Qt::SortOrder order) override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
        const QModelIndex &parent) override;

    const std::vector<FileListRow> &rows() const { return m_rows; }
    void SetLang(const TAppStrings &strings);
    // Unchecked rows: the palette's button face behind the disabled text colour.
    void setDimmedColours(const QColor &background, const QColor &text);

    // What a row's output will weigh (FileListRow::expectedSize): set for
    // every row now and for each row whose analysis arrives later.
    using SizeEstimate = std::function<int64_t(const FileAnalysisCells &)>;
    void setSizeEstimate(SizeEstimate estimate);

    // Appends rows for these files with fresh ids, treeRoot the folder they
    // came through; returns the new rows' ids.
    std::vector<uint64_t> appendFiles(
        const std::vector<FileToAdd> &files, const QString &treeRoot = {});
    // The row with this id gets its analysis cells; false when it is gone.
    bool fill(uint64_t id, const FileAnalysisCells &cells);
    void setStatus(int row, const QString &status);
    // A check command of the core over all rows.
    void changeChecks(const std::function<void(std::vector<FileListRow> &)> &command);
    void toggleCheck(int row);

    // Removes the rows at these indexes; returns them with their indexes,
    // lowest first.
    std::vector<RemovedRow> removeRowsAt(const RowSelection &indexes);
    std::vector<RemovedRow> clearRows();
    // Puts removed rows back at their indexes (or at the end).
    void restoreRows(std::vector<RemovedRow> rows);
    // Moves the rows with these ids, in their order, to just before the row
    // at destination (the end for -1 or past the end).
    void moveRows(const std::vector<uint64_t> &ids, int destination);

    int indexOfId(uint64_t id) const;

private:
    // Reorders m_rows through change, keeping selections and the current
    // row on the rows they were on.
    void reorder(const std::function<void()> &change);

    std::vector<FileListRow> m_rows;
    uint64_t m_nextId = 1;
    // Row index by id, rebuilt after any change of order; appending keeps it.
    mutable QHash<uint64_t, int> m_indexOfId;
    mutable bool m_indexValid = true;
    TAppStrings m_strings;
    QChar m_decimalSeparator;
    QColor m_dimmedBackground;
    QColor m_dimmedText;
    mutable FileIcons m_icons;
    SizeEstimate m_estimate;
};
