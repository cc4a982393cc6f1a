// The file list's widgets: the view with its header menu and footer, the
// appearance, the columns and the check commands. Adding and removing have
// files of their own.
#include "ui/filelist/FileListPanelPrivate.h"

#include "app/TextHelpers.h"
#include "encoding/ExpectedSize.h"
#include "encoding/OutputSpace.h"
#include "filelist/FileListCommands.h"
#include "filelist/FileListFooter.h"
#include "ui/common/Theme.h"
#include "ui/filelist/FileListDelegate.h"

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
#include <algorithm>
#include <iterator>
#include <numeric>

namespace {

// The column commands in the order of the columns menus.
constexpr std::array<FileListColumn, 28> ColumnMenuOrder{colNo, colIcon, colDirectory, colSize,
    colDuration, colVideo, colVideoCodec, colVideoCodecID, colVideoProfile, colVideoBitrate,
    colVideoWidth, colVideoHeight, colVideoResolution, colVideoDisplayAspect, colVideoFPS,
    colVideoScanType, colVideoBpp, colVideoStreamSize, colAudio, colAudioCodec, colAudioCodecID,
    colAudioProfile, colAudioBitrate, colAudioChannels, colAudioSampling, colAudioStreamSize,
    colStatus, colExpectedSize};
static_assert(SettingsColumns::colStatus == colStatus);
static_assert(SettingsColumns::colExpectedSize == colExpectedSize);

constexpr int SelectionSettleMs = 200;

} // namespace

FileListPanel::FileListPanel(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<Private>())
{
    d->q = this;
    d->createWidgets();
    d->connectWorkers();
    d->connectView();
    d->connectModel();
    d->createColumnActions();

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
    // "Auto" is read in the language of the settings' texts.
    d->estimateSizes();
    d->scheduleRefresh();
}

void FileListPanel::setParams(const TAppParams &params)
{
    d->params = params;
    d->analysisSettings.reset();
    d->footer->setWarningColour(ColorFromBgr(params.ColorError));
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

int FileListPanel::heightForRows(int rows) const
{
    return height() - d->view->viewport()->height()
        + rows * d->view->verticalHeader()->defaultSectionSize();
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

void FileListPanel::Private::createWidgets()
{
    model = new FileListModel(q);
    view = new FileListView(q);
    view->setModel(model);
    view->setItemDelegate(new FileListDelegate(view));
    view->setIconSize(QSize(16, 16));
    footer = new FileListFooterBar(view, q);
    auto *layout = new QVBoxLayout(q);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view);
    layout->addWidget(footer);
    q->setFocusProxy(view);
}

void FileListPanel::Private::connectWorkers()
{
    walker = std::make_unique<FolderWalker>();
    analysis = std::make_unique<AnalysisQueue>(QThread::idealThreadCount());
    QObject::connect(walker.get(), &FolderWalker::filesFound, q, [this](const QStringList &files) {
        addNow(files, walkRoot);
        view->scrollToBottom();
    });
    QObject::connect(walker.get(), &FolderWalker::finished, q, [this] { onWalkFinished(); });
    QObject::connect(walker.get(), &FolderWalker::namesSkipped, q,
        [this](const QStringList &names) { skipped += names; });
    QObject::connect(analysis.get(), &AnalysisQueue::resultsReady, q, [this] { onResults(); });

    selectionTimer.setSingleShot(true);
    selectionTimer.setInterval(SelectionSettleMs);
    QObject::connect(&selectionTimer, &QTimer::timeout, q,
        [this] { Q_EMIT q->selectionSettled(q->currentRow()); });
    refreshTimer.setSingleShot(true);
    refreshTimer.setInterval(0);
    QObject::connect(&refreshTimer, &QTimer::timeout, q, [this] { refresh(); });
}

void FileListPanel::Private::connectView()
{
    QItemSelectionModel *selection = view->selectionModel();
    QObject::connect(selection, &QItemSelectionModel::selectionChanged, q, [this] {
        selectionTimer.start();
        Q_EMIT q->listChanged();
    });
    QObject::connect(
        selection, &QItemSelectionModel::currentRowChanged, q, [this] { selectionTimer.start(); });

    QObject::connect(view, &FileListView::pathsDropped, q, &FileListPanel::addPaths);
    QObject::connect(view, &FileListView::deletePressed, q, &FileListPanel::removeSelected);
    QObject::connect(view, &FileListView::togglePressed, q, [this] { toggleSelectedChecks(); });
    QObject::connect(view, &FileListView::undoPressed, q, &FileListPanel::undoRemove);
    QObject::connect(view, &FileListView::appearanceChanged, q, [this] { applyPalette(); });
    QObject::connect(view, &QAbstractItemView::clicked, q, [this](const QModelIndex &index) {
        if (index.column() == colIcon)
            openFileOfRow(index.row());
    });
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, q, [this](const QPoint &pos) {
        Q_EMIT q->contextMenuRequested(view->viewport()->mapToGlobal(pos));
    });

    QHeaderView *header = view->horizontalHeader();
    QObject::connect(header, &QHeaderView::sectionResized, q, [this](int column, int, int size) {
        if (size > 0 && column >= 0 && column < FileListColumnCount)
            widths[size_t(column)] = size;
    });
    QObject::connect(
        header, &QHeaderView::sectionClicked, q, [this](int column) { sortBy(column); });
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(header, &QWidget::customContextMenuRequested, q,
        [this](const QPoint &pos) { showHeaderMenu(pos); });
}

void FileListPanel::Private::connectModel()
{
    QObject::connect(model, &QAbstractItemModel::dataChanged, q,
        [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
            // A check box clicked; fills are announced with the refresh.
            if (roles.isEmpty()) {
                scheduleRefresh();
                Q_EMIT q->listChanged();
            }
        });
    QObject::connect(model, &QAbstractItemModel::layoutChanged, q, [this] {
        if (!sorting)
            forgetSortOrder(); // rows dragged to another place
        Q_EMIT q->listChanged();
    });
}

void FileListPanel::Private::createColumnActions()
{
    for (FileListColumn column : ColumnMenuOrder) {
        auto *action = new QAction(q);
        action->setCheckable(true);
        action->setObjectName(QStringLiteral("actC") + SettingsColumns::KeyName(column).mid(1)
            + QStringLiteral("Visible"));
        QObject::connect(action, &QAction::toggled, q, [this, column](bool on) {
            view->horizontalHeader()->setSectionHidden(column, !on);
            footer->update();
        });
        columnActions.append(action);
        actionOfColumn[size_t(column)] = action;
    }
}

RowSelection FileListPanel::Private::selectedRows() const
{
    RowSelection selected;
    for (const QModelIndex &index : view->selectionModel()->selectedRows())
        selected.insert(index.row());
    return selected;
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

void FileListPanel::setOutputSettings(const EncodingSettings &settings, const EncodingLists &lists)
{
    if (d->output && d->output->first == settings && d->output->second == lists)
        return;
    d->output = std::make_shared<const std::pair<EncodingSettings, EncodingLists>>(settings, lists);
    d->estimateSizes();
}

void FileListPanel::Private::estimateSizes()
{
    if (!output)
        return;
    // A copy of the settings of now: the model keeps the estimate for rows
    // whose analysis comes later.
    model->setSizeEstimate([output = output, strings = strings](const FileAnalysisCells &cells) {
        return ExpectedRowBytes(output->first, output->second, strings, cells);
    });
    scheduleRefresh();
}

void FileListPanel::Private::showSpace(FooterTexts &texts)
{
    std::vector<VolumeNeed> needs, falling;
    if (output && !texts[colExpectedSize].isEmpty())
        needs = CheckedRowsSpace(model->rows(), output->first, StorageVolumeOf);
    std::copy_if(needs.begin(), needs.end(), std::back_inserter(falling),
        [](const VolumeNeed &need) { return !need.fits(); });
    // The free space told is the tightest, of the file systems that fall
    // short when there are any.
    std::vector<VolumeNeed> told = falling.empty() ? needs : falling;
    std::erase_if(told, [](const VolumeNeed &need) { return need.volume.available < 0; });
    const auto tightest
        = std::min_element(told.begin(), told.end(), [](const VolumeNeed &a, const VolumeNeed &b) {
              return a.volume.available < b.volume.available;
          });
    if (tightest != told.end())
        texts[colExpectedSize] += QStringLiteral("  (")
            + FormatAppString(strings.Main.FreeSpace, FormatSize(tightest->volume.available))
            + u')';
    QStringList hint;
    for (const VolumeNeed &need : falling)
        hint << need.volume.root + QStringLiteral(": ")
                + FormatAppString(strings.Main.NotEnoughSpace, FormatSize(need.needed),
                    FormatSize(need.volume.available));
    footer->setWarning(colExpectedSize, !falling.empty(), hint.join(u'\n'));
}

void FileListPanel::Private::refresh()
{
    FooterTexts texts = CalcFooter(model->rows(), strings, DecimalSeparatorChar());
    showSpace(texts);
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
