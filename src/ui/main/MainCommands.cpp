// The main window's commands: what each action does when triggered.

#include "app/AppInfo.h"
#include "app/AppParams.h"
#include "app/AppStartup.h"
#include "app/FileLocations.h"
#include "app/ProgramDir.h"
#include "filelist/SupportedExtensions.h"
#include "ui/common/DialogFilter.h"
#include "ui/common/PlainText.h"
#include "ui/common/Theme.h"
#include "ui/filelist/FileListPanel.h"
#include "ui/main/AboutWindow.h"
#include "ui/main/DesktopIntegration.h"
#include "ui/main/MainActions.h"
#include "ui/main/MainMenus.h"
#include "ui/main/MainTray.h"
#include "ui/main/MainWindow.h"
#include "ui/main/OutputOptionsPanel.h"
#include "ui/settings/ConversionSettingsPanel.h"
#include "ui/settings/SettingsOwner.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

namespace {

using C = MainCommand;

// A dialog's title from a command's caption: "Add files to list".
QString dialogTitle(const QString &caption)
{
    QString title = caption;
    title.remove(u'&');
    while (title.endsWith(u'.'))
        title.chop(1);
    return title.trimmed();
}

QString listFileFilter(const QString &entry)
{
    return DialogFilter(entry, QStringLiteral("*.lst"));
}

// The folder a folder dialog or Explore starts from: edOutDir when it names
// a folder, else the documents folder of the layout.
QString outDirOrDocumentsDir(const QString &edOutDir)
{
    return !edOutDir.isEmpty() && QFileInfo(edOutDir).isDir() ? edOutDir : AppParams().DocumentsDir;
}

} // namespace

void TFormMain::connectCommands()
{
    const std::pair<MainCommand, void (TFormMain::*)()> own[] = {
        {C::actStayOnTop, &TFormMain::toggleStayOnTop},
        {C::actMinimizeToTray, &TFormMain::minimizeToTray},
        {C::actShowHideMainWindow, &TFormMain::showHideMainWindow},
        {C::actAddFiles, &TFormMain::addFilesCommand},
        {C::actAddFolder, &TFormMain::addFolderCommand},
        {C::actLoadFileList, &TFormMain::loadFileListCommand},
        {C::actSaveFileList, &TFormMain::saveFileListCommand},
        {C::actExploreDirectory, &TFormMain::exploreDirectory},
        {C::actExploreOutDir, &TFormMain::exploreOutDir},
        {C::actBrowseOutDir, &TFormMain::browseOutDir},
        {C::actAbout, &TFormMain::showAbout},
        {C::actEsc, &TFormMain::escape},
    };
    for (const auto &[command, handler] : own)
        connect(action(command), &QAction::triggered, this, handler);

    // Plain functions, not member pointers: GCC's undefined-behaviour
    // checks misread a call through a member pointer and stop the run.
    using ListCommand = void (*)(FileListPanel &);
    const std::pair<MainCommand, ListCommand> listCommands[] = {
        {C::actRemoveChecked, [](FileListPanel &list) { list.removeChecked(); }},
        {C::actClearFileList, [](FileListPanel &list) { list.clear(); }},
        {C::actCheckAll, [](FileListPanel &list) { list.checkAll(); }},
        {C::actUncheckAll, [](FileListPanel &list) { list.uncheckAll(); }},
        {C::actInvertSelection, [](FileListPanel &list) { list.invertChecks(); }},
        {C::actCheckSelected, [](FileListPanel &list) { list.checkSelected(); }},
        {C::actUncheckSelected, [](FileListPanel &list) { list.uncheckSelected(); }},
    };
    for (const auto &[command, run] : listCommands) {
        connect(action(command), &QAction::triggered, this, [this, run = run] {
            run(*m_panel);
            InitControls();
        });
    }

    connect(action(C::actHelp), &QAction::triggered, this, &TFormMain::showHelp);
    const std::pair<MainCommand, WebPage> webPages[] = {
        {C::actGoToHomePage, WebPage::HomePage},
        {C::actGoToDonation, WebPage::Donation},
    };
    for (const auto &[command, page] : webPages) {
        // Without a web site (the WebSite key, read at start, or the
        // build's) there is no page to go to.
        action(command)->setVisible(!WebPageUrl(AppParams(), page).isEmpty());
        connect(action(command), &QAction::triggered, this,
            [page = page] { Desktop::openWebPage(WebPageUrl(AppParams(), page)); });
    }

    connect(action(C::actExit), &QAction::triggered, this, &QWidget::close);

    connect(m_panel, &FileListPanel::listChanged, this, &TFormMain::InitControls);
    connect(m_panel, &FileListPanel::selectionSettled, this, &TFormMain::onSelectionSettled);
    connect(m_panel, &FileListPanel::errorReported, this, &TFormMain::showListError);
    connect(m_panel, &FileListPanel::addedFrom, this,
        [](const QString &folder) { UpdateInitialFolders(folder); });
    connect(m_panel, &FileListPanel::contextMenuRequested, m_menus->popLv(),
        [this](const QPoint &pos) { m_menus->popLv()->popup(pos); });
    connect(m_tray, &MainTray::clicked, this, [this] {
        if (!isVisible())
            showHideMainWindow();
    });
    QList<QMenu *> menus = m_menus->menus();
    menus.append(m_tray->popTi());
    for (QMenu *menu : std::as_const(menus))
        connect(menu, &QMenu::aboutToShow, this, &TFormMain::InitControls);
}

void TFormMain::addFilesCommand()
{
    // The wider filter first: the files a user adds are rarely all MKV.
    QString filter = OpenDialogFilter(m_strings);
    QString selected = filter.section(QStringLiteral(";;"), 1, 1);
    const QStringList files = QFileDialog::getOpenFileNames(
        this, dialogTitle(m_strings.Main.actAddFiles), InitialFolder(), filter, &selected);
    if (files.isEmpty())
        return;
    m_panel->addFiles(files);
}

void TFormMain::addFolderCommand()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, dialogTitle(m_strings.Main.actAddFolder), InitialFolder());
    if (folder.isEmpty())
        return;
    m_panel->addFolder(folder);
}

void TFormMain::loadFileListCommand()
{
    const QString path
        = QFileDialog::getOpenFileName(this, dialogTitle(m_strings.Main.actLoadFileList),
            InitialFolder(), listFileFilter(m_strings.Main.dlgOpenFileList_Filter));
    if (path.isEmpty())
        return;
    QString error;
    if (!m_panel->loadListFile(path, &error))
        showListError(error);
}

void TFormMain::saveFileListCommand()
{
    QFileDialog dialog(this, dialogTitle(m_strings.Main.actSaveFileList), InitialFolder(),
        listFileFilter(m_strings.Main.dlgSaveFileList_Filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("lst"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    UpdateInitialFolders(QFileInfo(path).absolutePath());
    QString error;
    if (!m_panel->saveListFile(path, &error))
        showListError(error);
}

void TFormMain::showListError(const QString &text)
{
    ShowPlainMessage(this, QMessageBox::Critical, m_strings.Main.Error, text);
}

void TFormMain::exploreDirectory()
{
    const std::vector<FileListRow> &rows = m_panel->rows();
    const int row = m_panel->currentRow();
    if (!IsValidRowIndex(rows, row))
        return;
    const QString folder = GetNgDirectory(rows, row);
    if (!QFileInfo(folder).isDir()) {
        ShowPlainMessage(this, QMessageBox::Warning, QStringLiteral("Warning"),
            QStringLiteral("Directory \"%1\" does not exist!").arg(folder));
        return;
    }
    const QString file = GetNgFullFileName(rows, row);
    if (QFileInfo::exists(file))
        Desktop::showFileInFolder(file);
    else
        Desktop::openFolder(folder);
}

void TFormMain::exploreOutDir()
{
    Desktop::openFolder(outDirOrDocumentsDir(settings().edOutDir));
}

void TFormMain::browseOutDir()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, m_strings.Main.OutputDir, outDirOrDocumentsDir(settings().edOutDir));
    if (folder.isEmpty())
        return;
    m_settings->update([&](EncodingSettings &s) { s.edOutDir = QDir::toNativeSeparators(folder); });
}

void TFormMain::toggleStayOnTop()
{
    m_stayOnTop = !m_stayOnTop;
    Desktop::setStaysOnTop(this, m_stayOnTop);
    // The other windows stay above the main window either way.
    for (QWidget *window : otherWindows()) {
        Desktop::setStaysOnTop(window, true);
        if (window->isVisible())
            window->raise();
    }
    action(C::actStayOnTop)->setChecked(m_stayOnTop);
}

void TFormMain::minimizeToTray()
{
    if (!m_tray->available()) {
        showMinimized();
        return;
    }
    m_tray->setVisible(true);
    hide();
}

void TFormMain::showHideMainWindow()
{
    if (isVisible()) {
        // Without a tray a hidden window could not come back.
        if (!m_tray->available()) {
            showMinimized();
            return;
        }
        for (QWidget *window : otherWindows())
            window->hide();
        hide();
        m_tray->setVisible(true);
    } else {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
        activateWindow();
        m_tray->setVisible(false);
    }
    InitControls();
}

void TFormMain::showHelp()
{
    // The guide ships with the program: help works offline, and always
    // matches this version.
    const QString file = LocateFiles(ProgramDir()).helpFile;
    if (QFileInfo(file).isFile()) {
        Desktop::openFile(file);
        return;
    }
    const QString page = WebPageUrl(AppParams(), WebPage::QuickStart);
    if (!page.isEmpty())
        Desktop::openWebPage(page);
    else
        ShowPlainMessage(this, QMessageBox::Warning, QLatin1String(AppInfo::ProgramName),
            FormatAppString(m_strings.Main.HelpMissing, file));
}

void TFormMain::showAbout()
{
    m_about->adjustSize();
    CentreOver(m_about, this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void TFormMain::escape()
{
    // Disabled with every other action while a conversion runs (setRunning).
    if (AppParams().EscExit)
        close();
}
