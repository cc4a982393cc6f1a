#pragma once

// The inside of FileListPanel, shared by the files of its jobs: the panel
// itself (widgets and columns), adding, and removing with its undo.

#include "encoding/EncodingSettings.h"
#include "filelist/RemovalHistory.h"
#include "ui/filelist/AnalysisQueue.h"
#include "ui/filelist/FileListFooterBar.h"
#include "ui/filelist/FileListModel.h"
#include "ui/filelist/FileListPanel.h"
#include "ui/filelist/FileListView.h"
#include "ui/filelist/FolderWalker.h"

#include <QTimer>
#include <deque>

struct FileListPanel::Private
{
    // One piece of adding work; they run in the order they came, so rows
    // follow the order of a drop even where a folder walk takes a while.
    struct Step
    {
        enum Kind { Files, Folder, List };
        Kind kind = Files;
        QStringList paths;
        // The folder the files come through (FileListRow::treeRoot).
        QString root;
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
    // Null until the window hands the conversion settings over.
    std::shared_ptr<const std::pair<EncodingSettings, EncodingLists>> output;
    std::shared_ptr<const AnalysisSettings> analysisSettings; // null: made when next needed

    std::array<int, FileListColumnCount> widths{};
    QList<QAction *> columnActions;
    std::array<QAction *, FileListColumnCount> actionOfColumn{};

    std::deque<Step> steps;
    bool walking = false;
    QString walkRoot; // the folder being walked
    bool busy = false;
    bool sorting = false;
    RemovalHistory removal;

    // Last, so they go first: no worker outlives what it reports to.
    std::unique_ptr<FolderWalker> walker;
    // Names the adding could not take (not UTF-8), told once it is done.
    QStringList skipped;
    std::unique_ptr<AnalysisQueue> analysis;

    // FileListPanel.cpp
    void createWidgets();
    void connectWorkers();
    void connectView();
    void connectModel();
    void createColumnActions();
    RowSelection selectedRows() const;
    void toggleSelectedChecks();
    void sortBy(int column);
    void forgetSortOrder();
    void openFileOfRow(int row);
    void scheduleRefresh() { refreshTimer.start(); }
    void refresh();
    void fitNumberColumn(const QString &footerText);
    void estimateSizes();
    // The expected total against the free space: the footer's text under
    // colExpectedSize, its warning colour and its hint.
    void showSpace(FooterTexts &texts);
    void applyPalette();
    void syncColumnActions();
    void showHeaderMenu(const QPoint &pos);

    // FileListPanelAdding.cpp
    std::shared_ptr<const AnalysisSettings> settings();
    void queue(Step::Kind kind, const QStringList &paths, const QString &root = {});
    void queueDrop(const QStringList &paths);
    void runSteps();
    void addNow(const QStringList &paths, const QString &root = {});
    void analyse(const std::vector<std::pair<uint64_t, QString>> &files);
    bool readList(const QString &path, QStringList &paths, QString *error);
    void onResults();
    void onWalkFinished();
    void updateBusy();

    // FileListPanelRemoving.cpp
    void remove(const RowSelection &indexes);
    void keepRemoved(std::vector<RemovedRow> rows);
    void undoRemove();
};
