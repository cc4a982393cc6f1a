#include "ui/filelist/FileListPanel.h"
#include "i18n/AppStrings.h"

#include "app/NonUtf8Names.h"
#include "app/TextHelpers.h"
#include "app/ToolResolution.h"
#include "filelist/FileListAdding.h"
#include "filelist/FileListCommands.h"
#include "filelist/FileListFooter.h"
#include "filelist/ListFile.h"
#include "filelist/ListFileSave.h"
#include "ui/common/Theme.h"
#include "ui/filelist/AnalysisQueue.h"
#include "ui/filelist/FileListDelegate.h"
#include "ui/filelist/FileListFooterBar.h"
#include "ui/filelist/FileListModel.h"
#include "ui/filelist/FileListView.h"
#include "ui/filelist/FolderWalker.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFont>
#include <QHeaderView>
#include <QMenu>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <deque>
#include <numeric>

namespace {

// The column commands in the order of the columns menus.
constexpr std::array<FileListColumn, 27> ColumnMenuOrder{colNo, colIcon, colDirectory, colSize,
    colDuration, colVideo, colVideoCodec, colVideoCodecID, colVideoProfile, colVideoBitrate,
    colVideoWidth, colVideoHeight, colVideoResolution, colVideoDisplayAspect, colVideoFPS,
    colVideoScanType, colVideoBpp, colVideoStreamSize, colAudio, colAudioCodec, colAudioCodecID,
    colAudioProfile, colAudioBitrate, colAudioChannels, colAudioSampling, colAudioStreamSize,
    colStatus};

constexpr int SelectionSettleMs = 200;

} // namespace

struct FileListPanel::Private
{
    // One piece of adding work; they run in the order they came, so rows
    // follow the order of a drop even where a folder walk takes a while.
    struct Step
    {
        enum Kind { Files, Folder, List };
        Kind kind = Files;
        QStringList paths;
    };

    // What the last remove, clear or Delete took away.
    struct Removal
    {
        std::vector<RemovedRow> rows;
        std::vector<AnalysisJob> jobs; // taken back before they started
    };

    FileListPanel *q = nullptr;
    FileListModel *model = nullptr;
    FileListView *view = nullptr;
    FileListFooterBar *footer = nullptr;
    QTimer selectionTimer;
    // Footer and announcements of filled rows, once per event-loop turn.
    QTimer refreshTimer;
    bool filledSinceRefresh = false;

    TAppStrings strings;
    TAppParams params;
    std::shared_ptr<const AnalysisSettings> analysisSettings; // null: made when next needed

    std::array<int, FileListColumnCount> widths{};
    QList<QAction *> columnActions;
    std::array<QAction *, FileListColumnCount> actionOfColumn{};

    std::deque<Step> steps;
    bool walking = false;
    bool busy = false;
    bool sorting = false;
    Removal removal;

    // Last, so they go first: no worker outlives what it reports to.
    std::unique_ptr<FolderWalker> walker;
    // Names the adding could not take (not UTF-8), told once it is done.
    QStringList skipped;
    std::unique_ptr<AnalysisQueue> analysis;

    RowSelection selectedRows() const;
    std::shared_ptr<const AnalysisSettings> settings();

    void queue(Step::Kind kind, const QStringList &paths);
    void runSteps();
    void addNow(const QStringList &paths);
    bool readList(const QString &path, QStringList &paths, QString *error);
    void onResults();
    void onWalkFinished();
    void updateBusy();

    void remove(const RowSelection &indexes);
    void keepRemoved(std::vector<RemovedRow> rows);
    void toggleSelectedChecks();
    void sortBy(int column);
    void forgetSortOrder();
    void openFileOfRow(int row);

    void scheduleRefresh() { refreshTimer.start(); }
    void refresh();
    void fitNumberColumn(const QString &footerText);
    void applyPalette();
    void syncColumnActions();
    void showHeaderMenu(const QPoint &pos);
};

FileListPanel::FileListPanel(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<Private>())
{
    d->q = this;
    d->model = new FileListModel(this);
    d->view = new FileListView(this);
    d->view->setModel(d->model);
    d->view->setItemDelegate(new FileListDelegate(d->view));
    d->view->setIconSize(QSize(16, 16));
    d->footer = new FileListFooterBar(d->view, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(d->view);
    layout->addWidget(d->footer);
    setFocusProxy(d->view);

    d->walker = std::make_unique<FolderWalker>();
    d->analysis = std::make_unique<AnalysisQueue>(QThread::idealThreadCount());
    connect(d->walker.get(), &FolderWalker::filesFound, this, [this](const QStringList &files) {
        d->addNow(files);
        d->view->scrollToBottom();
    });
    connect(d->walker.get(), &FolderWalker::finished, this, [this] { d->onWalkFinished(); });
    connect(d->walker.get(), &FolderWalker::namesSkipped, this,
        [this](const QStringList &names) { d->skipped += names; });
    connect(d->analysis.get(), &AnalysisQueue::resultsReady, this, [this] { d->onResults(); });

    d->selectionTimer.setSingleShot(true);
    d->selectionTimer.setInterval(SelectionSettleMs);
    connect(&d->selectionTimer, &QTimer::timeout, this,
        [this] { Q_EMIT selectionSettled(currentRow()); });
    d->refreshTimer.setSingleShot(true);
    d->refreshTimer.setInterval(0);
    connect(&d->refreshTimer, &QTimer::timeout, this, [this] { d->refresh(); });

    QItemSelectionModel *selection = d->view->selectionModel();
    const auto selectionMoved = [this] {
        d->selectionTimer.start();
        Q_EMIT listChanged();
    };
    connect(selection, &QItemSelectionModel::selectionChanged, this, selectionMoved);
    connect(selection, &QItemSelectionModel::currentRowChanged, this,
        [this] { d->selectionTimer.start(); });

    FileListView *view = d->view;
    connect(view, &FileListView::pathsDropped, this, &FileListPanel::addPaths);
    connect(view, &FileListView::deletePressed, this, &FileListPanel::removeSelected);
    connect(view, &FileListView::togglePressed, this, [this] { d->toggleSelectedChecks(); });
    connect(view, &FileListView::undoPressed, this, &FileListPanel::undoRemove);
    connect(view, &FileListView::appearanceChanged, this, [this] { d->applyPalette(); });
    connect(view, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (index.column() == colIcon)
            d->openFileOfRow(index.row());
    });
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        Q_EMIT contextMenuRequested(d->view->viewport()->mapToGlobal(pos));
    });

    FileListModel *model = d->model;
    connect(model, &QAbstractItemModel::dataChanged, this,
        [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
            // A check box clicked; fills are announced with the refresh.
            if (roles.isEmpty()) {
                d->scheduleRefresh();
                Q_EMIT listChanged();
            }
        });
    connect(model, &QAbstractItemModel::layoutChanged, this, [this] {
        if (!d->sorting)
            d->forgetSortOrder(); // rows dragged to another place
        Q_EMIT listChanged();
    });

    QHeaderView *header = view->horizontalHeader();
    connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (size > 0 && column >= 0 && column < FileListColumnCount)
            d->widths[size_t(column)] = size;
    });
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) { d->sortBy(column); });
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QWidget::customContextMenuRequested, this,
        [this](const QPoint &pos) { d->showHeaderMenu(pos); });

    for (FileListColumn column : ColumnMenuOrder) {
        auto *action = new QAction(this);
        action->setCheckable(true);
        action->setObjectName(QStringLiteral("actC") + SettingsColumns::KeyName(column).mid(1)
            + QStringLiteral("Visible"));
        connect(action, &QAction::toggled, this, [this, column](bool on) {
            d->view->horizontalHeader()->setSectionHidden(column, !on);
            d->footer->update();
        });
        d->columnActions.append(action);
        d->actionOfColumn[size_t(column)] = action;
    }

    const MainSettings defaults = DefaultMainSettings(SettingsEnvironment{});
    setColumnStates(defaults.Columns);
    setRowHeight(defaults.RowHeight);
    setGridLines(defaults.GridLines);
    setFooterVisible(defaults.GridFooter);
    setRowMovingAllowed(defaults.AllowRowMoving);
    setColumnMovingAllowed(defaults.AllowColumnMoving);
    SetLang(d->strings);
    d->applyPalette();
    d->refresh();
}

FileListPanel::~FileListPanel()
{
    // Workers first: they stop, and nothing they post is delivered.
    d->walker.reset();
    d->analysis.reset();
    // The widgets go before what their signals reach.
    d->view->selectionModel()->disconnect(this);
    d->view->horizontalHeader()->disconnect(this);
    d->model->disconnect(this);
    d->view->disconnect(this);
    delete d->view;
    delete d->footer;
    delete d->model;
}

void FileListPanel::SetLang(const TAppStrings &strings)
{
    d->strings = strings;
    d->analysisSettings.reset();
    d->model->SetLang(strings);
    for (int column = 0; column < FileListColumnCount; ++column)
        if (QAction *action = d->actionOfColumn[size_t(column)])
            action->setText(columnCaptionText(FileListColumn(column), strings));
    d->view->setAccessibleName(WithoutMnemonic(strings.Main.mnuFileList));
    d->scheduleRefresh();
}

void FileListPanel::setParams(const TAppParams &params)
{
    d->params = params;
    d->analysisSettings.reset();
}

void FileListPanel::setListFont(const QFont &font)
{
    d->view->setFont(font);
    QHeaderView *header = d->view->horizontalHeader();
    header->setFont(font);
    // A header too narrow for its caption ends in "…" rather than losing
    // its start ("ительность").
    header->setTextElideMode(Qt::ElideRight);
    // A larger font must not cut the durations to "00:00:…"; a wider
    // column the user chose stays.
    const int margins
        = 2 * d->view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, d->view) + 8;
    const int duration = QFontMetrics(font).horizontalAdvance(QStringLiteral("00:00:00")) + margins;
    if (d->view->columnWidth(colDuration) < duration)
        d->view->setColumnWidth(colDuration, duration);
    header->setFixedHeight(
        std::max(ListHeaderHeight(font.pointSize()), header->sizeHint().height()));
    d->footer->setFont(font);
}

void FileListPanel::setRowHeight(int pixels)
{
    QHeaderView *rows = d->view->verticalHeader();
    rows->setMinimumSectionSize(std::min(pixels, MainSettings::MinRowHeight));
    rows->setDefaultSectionSize(pixels);
}

void FileListPanel::setGridLines(bool on)
{
    d->view->setShowGrid(on);
}

void FileListPanel::setFooterVisible(bool on)
{
    d->footer->setVisible(on);
}

void FileListPanel::setRowIndicator(bool on)
{
    d->view->setRowIndicatorVisible(on);
}

void FileListPanel::setRowMovingAllowed(bool on)
{
    d->view->setRowMovingAllowed(on);
}

void FileListPanel::setColumnMovingAllowed(bool on)
{
    d->view->horizontalHeader()->setSectionsMovable(on);
}

void FileListPanel::addFiles(const QStringList &paths)
{
    if (!paths.isEmpty())
        Q_EMIT addedFrom(QFileInfo(paths.constLast()).absolutePath());
    d->queue(Private::Step::Files, paths);
    d->runSteps();
}

void FileListPanel::addFolder(const QString &folder)
{
    Q_EMIT addedFrom(folder);
    d->queue(Private::Step::Folder, {folder});
    d->runSteps();
}

void FileListPanel::addPaths(const QStringList &paths)
{
    QStringList usable;
    for (const QString &path : paths) {
        if (HasNonUtf8Bytes(path))
            d->skipped.append(path);
        else
            usable.append(path);
    }
    const auto isDirectory = [](const QString &path) { return QFileInfo(path).isDir(); };
    QString lastFolder;
    for (const DropStep &step : planDrop(usable, d->params.DragAcceptDirectories, isDirectory)) {
        lastFolder
            = step.kind == DropStep::AddFolder ? step.path : QFileInfo(step.path).absolutePath();
        switch (step.kind) {
        case DropStep::LoadList:
            d->queue(Private::Step::List, {step.path});
            break;
        case DropStep::AddFolder:
            d->queue(Private::Step::Folder, {step.path});
            break;
        case DropStep::AddFile:
            // Files next to each other are checked in one go.
            if (!d->steps.empty() && d->steps.back().kind == Private::Step::Files)
                d->steps.back().paths.append(step.path);
            else
                d->queue(Private::Step::Files, {step.path});
            break;
        }
    }
    if (!lastFolder.isEmpty())
        Q_EMIT addedFrom(lastFolder);
    d->runSteps();
}

bool FileListPanel::loadListFile(const QString &path, QString *error)
{
    Q_EMIT addedFrom(QFileInfo(path).absolutePath());
    QStringList paths;
    if (!d->readList(path, paths, error))
        return false;
    d->queue(Private::Step::Files, paths);
    d->runSteps();
    return true;
}

bool FileListPanel::saveListFile(const QString &path, QString *error) const
{
    return ::saveListFile(path, listFilePaths(rows()), error);
}

int FileListPanel::heightForRows(int rows) const
{
    return height() - d->view->viewport()->height()
        + rows * d->view->verticalHeader()->defaultSectionSize();
}

bool FileListPanel::isBusy() const
{
    return d->busy;
}

const std::vector<FileListRow> &FileListPanel::rows() const
{
    return d->model->rows();
}

TGridInfo FileListPanel::gridInfo() const
{
    return GetGridInfo(rows(), d->selectedRows());
}

void FileListPanel::selectFirstRowIfNone()
{
    if (currentRow() < 0 && d->model->rowCount() > 0)
        d->view->selectionModel()->setCurrentIndex(d->model->index(0, colFileName),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int FileListPanel::currentRow() const
{
    const QItemSelectionModel *selection = d->view->selectionModel();
    if (!selection->hasSelection())
        return -1;
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row()))
        return current.row();
    const RowSelection selected = d->selectedRows();
    return selected.empty() ? -1 : *selected.begin();
}

void FileListPanel::setRowStatus(int row, const QString &status)
{
    d->model->setStatus(row, status);
}

void FileListPanel::setChecks(const std::vector<bool> &checks)
{
    d->model->changeChecks([&checks](std::vector<FileListRow> &rows) {
        if (rows.size() != checks.size())
            return;
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i].active = checks[i];
    });
}

void FileListPanel::checkAll()
{
    d->model->changeChecks([](std::vector<FileListRow> &rows) { ::checkAll(rows); });
}

void FileListPanel::uncheckAll()
{
    d->model->changeChecks([](std::vector<FileListRow> &rows) { ::uncheckAll(rows); });
}

void FileListPanel::invertChecks()
{
    d->model->changeChecks([](std::vector<FileListRow> &rows) { ::invertChecks(rows); });
}

void FileListPanel::checkSelected()
{
    const RowSelection selected = d->selectedRows();
    d->model->changeChecks(
        [&](std::vector<FileListRow> &rows) { ::checkSelected(rows, selected); });
}

void FileListPanel::uncheckSelected()
{
    const RowSelection selected = d->selectedRows();
    d->model->changeChecks(
        [&](std::vector<FileListRow> &rows) { ::uncheckSelected(rows, selected); });
}

void FileListPanel::removeChecked()
{
    RowSelection checked;
    for (size_t i = 0; i < rows().size(); ++i)
        if (rows()[i].active)
            checked.insert(int(i));
    d->remove(checked);
}

void FileListPanel::clear()
{
    // The user wants an empty list: adding still under way stops too.
    d->steps.clear();
    if (d->walking)
        d->walker->cancel();
    d->keepRemoved(d->model->clearRows());
    d->forgetSortOrder();
    d->updateBusy();
}

void FileListPanel::removeSelected()
{
    d->remove(d->selectedRows());
}

bool FileListPanel::canUndoRemove() const
{
    return !d->removal.rows.empty();
}

void FileListPanel::undoRemove()
{
    Private::Removal removal = std::exchange(d->removal, {});
    if (removal.rows.empty())
        return;
    // A file added again since is not there twice.
    std::vector<RemovedRow> back;
    std::set<uint64_t> ids;
    for (RemovedRow &removed : removal.rows) {
        if (IsFileOnList(rows(), fullFileName(removed.second)))
            continue;
        ids.insert(removed.second.id);
        back.push_back(std::move(removed));
    }
    d->model->restoreRows(std::move(back));
    std::vector<AnalysisJob> jobs;
    for (AnalysisJob &job : removal.jobs)
        if (ids.count(job.id))
            jobs.push_back(std::move(job));
    d->analysis->enqueue(std::move(jobs));
    d->forgetSortOrder();
    d->scheduleRefresh();
    d->updateBusy();
    Q_EMIT listChanged();
}

std::array<ColumnState, SettingsColumns::Count> FileListPanel::columnStates() const
{
    const QHeaderView *header = d->view->horizontalHeader();
    std::array<ColumnState, SettingsColumns::Count> states{};
    for (int column = 0; column < SettingsColumns::Count; ++column)
        states[size_t(column)] = {d->widths[size_t(column)], header->visualIndex(column),
            !header->isSectionHidden(column)};
    return states;
}

void FileListPanel::setColumnStates(const std::array<ColumnState, SettingsColumns::Count> &states)
{
    QHeaderView *header = d->view->horizontalHeader();
    for (int column = 0; column < SettingsColumns::Count; ++column) {
        // A hidden section has no size of its own to set.
        header->setSectionHidden(column, false);
        const int width = std::clamp(states[size_t(column)].Width, MainSettings::MinColumnWidth,
            MainSettings::MaxColumnWidth);
        header->resizeSection(column, width);
        d->widths[size_t(column)] = width;
    }
    // Leftmost first; equal positions keep the columns' own order.
    std::array<int, SettingsColumns::Count> order{};
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
        [&](int a, int b) { return states[size_t(a)].Position < states[size_t(b)].Position; });
    for (int position = 0; position < SettingsColumns::Count; ++position)
        header->moveSection(header->visualIndex(order[size_t(position)]), position);
    for (int column = 0; column < SettingsColumns::Count; ++column)
        header->setSectionHidden(
            column, !states[size_t(column)].Visible && !SettingsColumns::AlwaysShown(column));
    d->syncColumnActions();
    d->footer->update();
}

QList<QAction *> FileListPanel::columnActions() const
{
    return d->columnActions;
}

// ---------------------------------------------------------------------------

RowSelection FileListPanel::Private::selectedRows() const
{
    RowSelection selected;
    for (const QModelIndex &index : view->selectionModel()->selectedRows())
        selected.insert(index.row());
    return selected;
}

std::shared_ptr<const AnalysisSettings> FileListPanel::Private::settings()
{
    if (!analysisSettings) {
        auto made = std::make_shared<AnalysisSettings>();
        made->mode = params.FileAnalysis;
        made->strings = strings;
        // Resolved once per change of the parameters, not per file; on a
        // copy, so the caller's record stays as it gave it.
        TAppParams resolving = params;
        if (made->mode != faNone)
            made->mediaInfoDll = ResolveMediaInfoPath(resolving);
        if (made->mode == faFull)
            made->ffmpeg = ResolveFFmpegPath(resolving);
        analysisSettings = std::move(made);
    }
    return analysisSettings;
}

void FileListPanel::Private::queue(Step::Kind kind, const QStringList &paths)
{
    steps.push_back({kind, paths});
}

void FileListPanel::Private::runSteps()
{
    while (!walking && !steps.empty()) {
        const Step step = std::move(steps.front());
        steps.pop_front();
        switch (step.kind) {
        case Step::Files:
            addNow(step.paths);
            break;
        case Step::List: {
            QStringList paths;
            QString error;
            if (readList(step.paths.value(0), paths, &error))
                addNow(paths);
            else
                Q_EMIT q->errorReported(error);
            break;
        }
        case Step::Folder:
            walking = true;
            walker->walk(step.paths.value(0));
            break;
        }
    }
    // One message for all the names the adding met, however many: a
    // binary list file holds hundreds.
    if (!walking && steps.empty() && !skipped.isEmpty()) {
        const QString message = NonUtf8NamesMessage(skipped);
        skipped.clear();
        Q_EMIT q->errorReported(message);
    }
    updateBusy();
}

void FileListPanel::Private::addNow(const QStringList &paths)
{
    QStringList usable;
    usable.reserve(paths.size());
    for (const QString &path : paths) {
        if (HasNonUtf8Bytes(path))
            skipped.append(path);
        else
            usable.append(path);
    }
    const std::vector<FileToAdd> files = filesToAdd(model->rows(), usable);
    if (files.empty())
        return;
    const bool wasEmpty = model->rowCount() == 0;
    const std::vector<uint64_t> ids = model->appendFiles(files);
    // The first files of a list: the information and command-line windows
    // have a file at once.
    if (wasEmpty)
        q->selectFirstRowIfNone();
    forgetSortOrder();
    const std::shared_ptr<const AnalysisSettings> shared = settings();
    if (shared->mode != faNone) {
        std::vector<AnalysisJob> jobs;
        jobs.reserve(ids.size());
        for (size_t i = 0; i < ids.size(); ++i)
            jobs.push_back({ids[i], files[i].path, shared});
        analysis->enqueue(std::move(jobs));
    }
    scheduleRefresh();
    updateBusy();
    Q_EMIT q->listChanged();
}

bool FileListPanel::Private::readList(const QString &path, QStringList &paths, QString *error)
{
    QStringList lines;
    if (!ReadListFile(path, lines, error))
        return false;
    for (const QString &line : lines) {
        if (HasNonUtf8Bytes(line)) {
            skipped.append(line);
            continue;
        }
        const QString file = ListFileLinePath(line);
        if (!file.isEmpty())
            paths.append(file);
    }
    return true;
}

void FileListPanel::Private::onResults()
{
    for (AnalysisResult &result : analysis->takeResults()) {
        if (model->fill(result.id, result.cells))
            continue;
        // Removed while it was analysed: filled where an undo finds it.
        for (RemovedRow &removed : removal.rows)
            if (removed.second.id == result.id)
                removed.second.analysis = std::move(result.cells);
    }
    filledSinceRefresh = true;
    scheduleRefresh();
    updateBusy();
}

void FileListPanel::Private::onWalkFinished()
{
    walking = false;
    runSteps();
}

void FileListPanel::Private::updateBusy()
{
    const bool now = walking || !steps.empty() || analysis->outstanding() > 0;
    if (now == busy)
        return;
    busy = now;
    Q_EMIT q->busyChanged(now);
}

void FileListPanel::Private::remove(const RowSelection &indexes)
{
    std::vector<RemovedRow> removed = model->removeRowsAt(indexes);
    if (removed.empty())
        return;
    keepRemoved(std::move(removed));
}

void FileListPanel::Private::keepRemoved(std::vector<RemovedRow> rows)
{
    if (rows.empty())
        return;
    std::set<uint64_t> ids;
    for (const RemovedRow &row : rows)
        ids.insert(row.second.id);
    removal = {std::move(rows), analysis->cancel(ids)};
    scheduleRefresh();
    updateBusy();
    Q_EMIT q->listChanged();
}

void FileListPanel::Private::toggleSelectedChecks()
{
    const RowSelection selected = selectedRows();
    if (selected.empty())
        return;
    // As one: all checked become unchecked, otherwise all become checked.
    const std::vector<FileListRow> &all = model->rows();
    const bool allChecked = std::all_of(
        selected.begin(), selected.end(), [&](int row) { return all[size_t(row)].active; });
    if (allChecked)
        model->changeChecks(
            [&](std::vector<FileListRow> &rows) { ::uncheckSelected(rows, selected); });
    else
        model->changeChecks(
            [&](std::vector<FileListRow> &rows) { ::checkSelected(rows, selected); });
}

void FileListPanel::Private::sortBy(int column)
{
    QHeaderView *header = view->horizontalHeader();
    // The header has flipped its indicator already (ascending first).
    const Qt::SortOrder order = header->sortIndicatorSection() == column
        ? header->sortIndicatorOrder()
        : Qt::AscendingOrder;
    sorting = true;
    model->sort(column, order);
    sorting = false;
    header->setSortIndicator(column, order);
    // The check column's header is a narrow picture the arrow would cover.
    header->setSortIndicatorShown(column != colActive);
}

void FileListPanel::Private::forgetSortOrder()
{
    // New, restored or moved rows are not in the shown order any more.
    QHeaderView *header = view->horizontalHeader();
    if (header->sortIndicatorSection() < 0)
        return;
    header->setSortIndicatorShown(false);
    header->setSortIndicator(-1, Qt::AscendingOrder);
}

void FileListPanel::Private::openFileOfRow(int row)
{
    if (!params.OpenFileAfterIconClick)
        return;
    const QString path = GetNgFullFileName(model->rows(), row);
    if (!path.isEmpty() && QFileInfo(path).isFile())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void FileListPanel::Private::refresh()
{
    const FooterTexts texts = CalcFooter(model->rows(), strings, DecimalSeparatorChar());
    footer->setTexts(texts);
    fitNumberColumn(texts[colNo]);
    if (std::exchange(filledSinceRefresh, false))
        Q_EMIT q->listChanged();
}

void FileListPanel::Private::fitNumberColumn(const QString &footerText)
{
    // The last row's number and the count under the column are never cut
    // ("10 ..."): the column grows to fit them at the fonts in use; a
    // wider column the user chose stays.
    const int rows = model->rowCount();
    const QString last = rows > 0
        ? model->data(model->index(rows - 1, colNo), Qt::DisplayRole).toString()
        : QString();
    const int margins = 2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view)
        + 2 * FileListFooterBar::TextMargin + 2;
    const int needed = std::max(view->fontMetrics().horizontalAdvance(last),
                           footer->fontMetrics().horizontalAdvance(footerText))
        + margins;
    QHeaderView *header = view->horizontalHeader();
    if (header->sectionSize(colNo) < needed)
        header->resizeSection(colNo, needed);
}

void FileListPanel::Private::applyPalette()
{
    const QPalette &palette = view->palette();
    const QColor face = palette.color(QPalette::Button);
    // Halfway to the background: dim in a light and in a dark theme alike.
    model->setDimmedColours(face, HalfwayColor(palette.color(QPalette::Text), face));
}

void FileListPanel::Private::syncColumnActions()
{
    const QHeaderView *header = view->horizontalHeader();
    for (int column = 0; column < FileListColumnCount; ++column) {
        if (QAction *action = actionOfColumn[size_t(column)]) {
            const QSignalBlocker blocker(action);
            action->setChecked(!header->isSectionHidden(column));
        }
    }
}

void FileListPanel::Private::showHeaderMenu(const QPoint &pos)
{
    syncColumnActions();
    QMenu menu(q);
    menu.addActions(columnActions);
    menu.exec(view->horizontalHeader()->mapToGlobal(pos));
}
