#pragma once

#include "analysis/VideoFileInfo.h"
#include "app/AppParams.h"
#include "filelist/FileListRow.h"
#include "filelist/GridInfo.h"
#include "i18n/AppStrings.h"
#include "settings/SettingsFile.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

class QAction;
class QFont;

// The file list of the main window (the grid "ng"): the table of rows with
// its header menu and footer, the check and remove commands, and every way
// rows come in (files, folders, list files, drops). Rows appear at once with
// name, folder, size and "Ready"; folders are walked and files analysed off
// the window's thread, and each result finds its row by the row's id.
struct EncodingLists;
struct EncodingSettings;

class FileListPanel : public QWidget
{
    Q_OBJECT
public:
    explicit FileListPanel(QWidget *parent = nullptr);
    // Cancels the analyses not started yet and waits for the running ones.
    ~FileListPanel() override;

    // SetLang: headers, footer texts, the captions of the column commands.
    void SetLang(const TAppStrings &strings);
    // Analysis mode and tools for the rows added from now on; the icon-click
    // and drop options.
    void setParams(const TAppParams &params);
    // The conversion settings of now: each row's expected size follows
    // them, and the footer tells whether the checked rows' outputs fit into
    // the free space of their folders.
    void setOutputSettings(const EncodingSettings &settings, const EncodingLists &lists);
    // The list's appearance (settings file, options window).
    void setListFont(const QFont &font);
    void setRowHeight(int pixels);
    void setGridLines(bool on);
    void setFooterVisible(bool on);
    void setRowIndicator(bool on);
    void setRowMovingAllowed(bool on);
    void setColumnMovingAllowed(bool on);

    // Adding. Each call returns at once; the rows follow as they are found.
    void addFiles(const QStringList &paths);
    void addFolder(const QString &folder);
    // Dropped or command-line paths: sorted as the drop rules say; ".lst"
    // files loaded, folders walked (when DragAcceptDirectories), files added.
    void addPaths(const QStringList &paths);
    // One full path per line; false with the reason when the file cannot be
    // read or written (rows added before a failure stay).
    bool loadListFile(const QString &path, QString *error);
    bool saveListFile(const QString &path, QString *error) const;
    // The panel's height that shows rows rows of the list, as laid out now.
    int heightForRows(int rows) const;
    // A folder walk or analyses are pending.
    bool isBusy() const;

    // The rows in the order the user sees them.
    const std::vector<FileListRow> &rows() const;
    TGridInfo gridInfo() const;
    // The current (selected) row's index, -1 for none.
    int currentRow() const;
    // With rows and none selected: the first row becomes the current,
    // selected one.
    void selectFirstRowIfNone();
    void setRowStatus(int row, const QString &status);

    // The check and remove commands of the list.
    void checkAll();
    void uncheckAll();
    void invertChecks();
    void checkSelected();
    void uncheckSelected();
    void removeChecked();
    // One check state per row, in the order of rows() (a retry of the failed
    // files); a list of another length changes nothing.
    void setChecks(const std::vector<bool> &checks);
    void clear();
    // Delete: the selected rows; Ctrl+Z brings back what the last remove,
    // clear or Delete took away.
    void removeSelected();
    bool canUndoRemove() const;
    void undoRemove();

    // Width, position and visibility of every column (settings file).
    std::array<ColumnState, SettingsColumns::Count> columnStates() const;
    void setColumnStates(const std::array<ColumnState, SettingsColumns::Count> &states);
    // The 27 column-visibility commands (checkable, captions from the
    // catalogue), in the order of the columns menus.
    QList<QAction *> columnActions() const;

Q_SIGNALS:
    // Rows added, removed, checked, moved or filled: the main window runs its
    // enable-rule pass.
    void listChanged();
    // 200 ms after the selection last changed; -1 when nothing is selected.
    void selectionSettled(int row);
    // Right click on the rows: the main window shows its list menu there.
    void contextMenuRequested(const QPoint &globalPos);
    void busyChanged(bool busy);
    // Something the user should hear about that no caller asked for: a
    // dropped list file that cannot be read, a name that is not UTF-8. The
    // main window shows it with its standard error display.
    void errorReported(const QString &message);
    // Files were added from folder (a chosen, dropped or listed file's
    // folder, an added folder, a list file's folder): the add dialogs start
    // there next.
    void addedFrom(const QString &folder);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
