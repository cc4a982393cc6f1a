// STAND-IN: delete this file when the real file list panel lands.
//
// A minimal FileListPanel, so the main window links and its commands can be
// tested before the real panel exists: rows kept in a vector through the
// core's adding rules, shown as one line each in a QListWidget (whose
// selection is the panel's), no analysis, no columns of its own. Nothing
// outside this file may depend on anything but FileListPanel.h.

#include "ui/filelist/FileListPanel.h"

#include "filelist/FileListAdding.h"
#include "filelist/FileListColumns.h"
#include "filelist/FileListCommands.h"
#include "filelist/ListFile.h"
#include "filelist/ListFileSave.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QVBoxLayout>

struct FileListPanel::Private
{
    std::vector<FileListRow> rows;
    std::vector<FileListRow> removed;
    uint64_t nextId = 1;
    TAppStrings strings;
    TAppParams params;
    std::array<ColumnState, SettingsColumns::Count> columns{};
    QList<QAction *> columnActions;
    QListWidget *view = nullptr;
};

FileListPanel::FileListPanel(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<Private>())
{
    d->view = new QListWidget(this);
    d->view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    d->view->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->view);
    for (int c = 0; c < SettingsColumns::Count; ++c)
        d->columns[size_t(c)] = {80, c, true};
    for (int c = 0; c < FileListColumnCount; ++c) {
        if (!fileListColumn(FileListColumn(c)).userMayHide)
            continue;
        auto *action = new QAction(this);
        action->setCheckable(true);
        action->setChecked(true);
        action->setData(c);
        connect(action, &QAction::toggled, this,
            [this, c](bool on) { d->columns[size_t(c)].Visible = on; });
        d->columnActions.append(action);
    }
    connect(d->view, &QListWidget::itemSelectionChanged, this,
        [this] { Q_EMIT selectionSettled(currentRow()); });
    connect(d->view, &QWidget::customContextMenuRequested, this,
        [this](const QPoint &pos) { Q_EMIT contextMenuRequested(d->view->mapToGlobal(pos)); });
}

FileListPanel::~FileListPanel() = default;

namespace {

void refill(QListWidget *view, const std::vector<FileListRow> &rows)
{
    const QSignalBlocker block(view);
    view->clear();
    for (const FileListRow &row : rows)
        view->addItem(
            (row.active ? QStringLiteral("[x] ") : QStringLiteral("[ ] ")) + fullFileName(row));
}

} // namespace

void FileListPanel::setStrings(const TAppStrings &strings)
{
    d->strings = strings;
    for (QAction *action : std::as_const(d->columnActions))
        action->setText(columnCaptionText(FileListColumn(action->data().toInt()), strings));
}

void FileListPanel::setParams(const TAppParams &params)
{
    d->params = params;
}

void FileListPanel::setListFont(const QFont &font)
{
    d->view->setFont(font);
}

void FileListPanel::setRowHeight(int) { }
void FileListPanel::setGridLines(bool) { }
void FileListPanel::setFooterVisible(bool) { }
void FileListPanel::setRowMovingAllowed(bool) { }
void FileListPanel::setColumnMovingAllowed(bool) { }

void FileListPanel::addFiles(const QStringList &paths)
{
    const auto files = filesToAdd(d->rows, paths);
    if (files.empty())
        return;
    appendRows(d->rows, files, d->nextId, d->strings.Main.Ready);
    refill(d->view, d->rows);
    Q_EMIT listChanged();
}

void FileListPanel::addFolder(const QString &folder)
{
    addFiles(folderFiles(folder));
}

void FileListPanel::addPaths(const QStringList &paths)
{
    const auto isDir = [](const QString &p) { return QFileInfo(p).isDir(); };
    for (const DropStep &step : planDrop(paths, d->params.DragAcceptDirectories, isDir)) {
        if (step.kind == DropStep::LoadList)
            loadListFile(step.path, nullptr);
        else if (step.kind == DropStep::AddFolder)
            addFolder(step.path);
        else
            addFiles({step.path});
    }
}

bool FileListPanel::loadListFile(const QString &path, QString *error)
{
    QStringList lines;
    const bool ok = ReadListFile(path, lines, error);
    QStringList paths;
    for (const QString &line : std::as_const(lines))
        paths.append(ListFileLinePath(line));
    addFiles(paths);
    return ok;
}

bool FileListPanel::saveListFile(const QString &path, QString *error) const
{
    return ::saveListFile(path, listFilePaths(d->rows), error);
}

bool FileListPanel::isBusy() const
{
    return false;
}

const std::vector<FileListRow> &FileListPanel::rows() const
{
    return d->rows;
}

namespace {

RowSelection selectionOf(const QListWidget *view)
{
    RowSelection selected;
    for (const QModelIndex &index : view->selectionModel()->selectedRows())
        selected.insert(index.row());
    return selected;
}

} // namespace

TGridInfo FileListPanel::gridInfo() const
{
    return GetGridInfo(d->rows, selectionOf(d->view));
}

int FileListPanel::currentRow() const
{
    const RowSelection selected = selectionOf(d->view);
    return selected.empty() ? -1 : *selected.begin();
}

void FileListPanel::setRowStatus(int row, const QString &status)
{
    if (IsValidRowIndex(d->rows, row))
        d->rows[size_t(row)].status = status;
}

#define QLN_STAND_IN_COMMAND(name, body)                                                           \
    void FileListPanel::name()                                                                     \
    {                                                                                              \
        body;                                                                                      \
        refill(d->view, d->rows);                                                                  \
        Q_EMIT listChanged();                                                                      \
    }

QLN_STAND_IN_COMMAND(checkAll, ::checkAll(d->rows))
QLN_STAND_IN_COMMAND(uncheckAll, ::uncheckAll(d->rows))
QLN_STAND_IN_COMMAND(invertChecks, ::invertChecks(d->rows))
QLN_STAND_IN_COMMAND(checkSelected, ::checkSelected(d->rows, selectionOf(d->view)))
QLN_STAND_IN_COMMAND(uncheckSelected, ::uncheckSelected(d->rows, selectionOf(d->view)))
QLN_STAND_IN_COMMAND(removeChecked, d->removed = d->rows; ::removeChecked(d->rows))
QLN_STAND_IN_COMMAND(clear, d->removed = d->rows; d->rows.clear())
QLN_STAND_IN_COMMAND(removeSelected, d->removed = d->rows;
                     removeRowsAt(d->rows, selectionOf(d->view)))
QLN_STAND_IN_COMMAND(undoRemove, if (!d->removed.empty()) d->rows.swap(d->removed);
                     d->removed.clear())

#undef QLN_STAND_IN_COMMAND

bool FileListPanel::canUndoRemove() const
{
    return !d->removed.empty();
}

std::array<ColumnState, SettingsColumns::Count> FileListPanel::columnStates() const
{
    return d->columns;
}

void FileListPanel::setColumnStates(const std::array<ColumnState, SettingsColumns::Count> &states)
{
    d->columns = states;
    for (QAction *action : std::as_const(d->columnActions))
        action->setChecked(d->columns[size_t(action->data().toInt())].Visible);
}

QList<QAction *> FileListPanel::columnActions() const
{
    return d->columnActions;
}
