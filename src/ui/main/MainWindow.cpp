#include "ui/main/MainWindow.h"

#include "app/AppInfo.h"
#include "app/AppParams.h"
#include "app/ProgramDir.h"
#include "encoding/SessionStart.h"
#include "encoding/SettingsDefaults.h"
#include "filelist/MainControls.h"
#include "i18n/LanguageStartup.h"
#include "ui/common/ScrollAreas.h"
#include "ui/conversion/ConversionController.h"
#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/filelist/FileListPanel.h"
#include "ui/info/FileInfoWindow.h"
#include "ui/main/AboutWindow.h"
#include "ui/main/DesktopIntegration.h"
#include "ui/main/MainActions.h"
#include "ui/main/MainMenus.h"
#include "ui/main/MainTray.h"
#include "ui/main/OutputOptionsPanel.h"
#include "ui/options/OptionsWindow.h"
#include "ui/settings/ConversionSettingsPanel.h"
#include "ui/settings/SettingsOwner.h"
#include "ui/tools/ToolsInfoWindow.h"
#include "ui/update/CheckUpdateWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <initializer_list>

namespace {

// Puts the Tab stops of the panels one after the other, each panel's in
// the order they already have.
void chainTabStops(QWidget *window, std::initializer_list<QWidget *> panels)
{
    QWidget *previous = nullptr;
    for (QWidget *panel : panels) {
        QList<QWidget *> stops;
        for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
            if (w->focusPolicy() != Qt::NoFocus && panel->isAncestorOf(w))
                stops << w;
        }
        for (QWidget *stop : stops) {
            if (previous)
                QWidget::setTabOrder(previous, stop);
            previous = stop;
        }
    }
}

} // namespace

TFormMain::TFormMain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FormMain"));
    Desktop::useCommonIconThemeAsFallback();
    const QIcon icon = Desktop::themeIcon(QStringLiteral("video-x-generic"), QStyle::SP_MediaPlay);
    QApplication::setWindowIcon(icon);
    setMinimumSize(MainSettings::MinWidth, MainSettings::MinHeight);
    resize(998, 712);

    if (ProgramDir().isEmpty())
        SetProgramDir(QCoreApplication::applicationDirPath());
    SessionStart start
        = StartSession(ProgramDir(), SystemPrimaryLanguageId(), m_main.DefaultVideoCodec);
    TAppParams &params = AppParams();
    params = std::move(start.params);
    m_strings = std::move(start.strings);
    m_sizeStored = start.sizeStored;
    // No window yet to show it in; the file itself is left as it is.
    if (!start.settingsError.isEmpty())
        qWarning("Settings not read from %s (%s): the defaults are used.",
            qUtf8Printable(params.IniName), qUtf8Printable(start.settingsError));

    setWindowTitle(AppInfo::ProgramTitle());

    // The controls, then the encoder defaults.
    createPanels();
    m_tray = new MainTray(this, icon, (*m_actions)[MainCommand::actShowHideMainWindow],
        (*m_actions)[MainCommand::actExit]);
    m_about = new TFormAbout(params, this);
    setAcceptDrops(true);

    LoadSettingsFromIni(start.settings);
    // The panel reads the record against the lists of the data files and in
    // the chosen language, so it gets those first.
    m_conversionSettings->setParams(params);
    m_conversionSettings->setDefaultVideoCodec(m_main.DefaultVideoCodec);
    m_conversionSettings->SetLang(m_strings);
    m_conversionSettings->setSettings(start.settings);
    m_conversionSettings->setExpanded(m_main.pnConversionSettingsExpanded);
    createConversionWindows();
    createOptionsWindows();
    connectCommands();
    m_ready = true;
    SetLang();
}

void TFormMain::createPanels()
{
    m_actions = std::make_unique<MainActions>(this);
    m_panel = new FileListPanel(this);
    m_panel->setObjectName(QStringLiteral("ng"));
    // Before the panels that share it, so that it outlives them.
    m_settings
        = new SettingsOwner(DefaultEncodingSettings(m_strings, m_main.DefaultVideoCodec), this);
    connect(m_settings, &SettingsOwner::changed, this, &TFormMain::InitControls);
    m_conversionSettings = new ConversionSettingsPanel(m_settings, this);
    // The list's expected sizes follow every change of the settings.
    const auto estimate
        = [this] { m_panel->setOutputSettings(settings(), m_conversionSettings->lists()); };
    connect(m_settings, &SettingsOwner::changed, this, estimate);
    estimate();
    m_menus = std::make_unique<MainMenus>(
        this, *m_actions, m_panel->columnActions(), m_conversionSettings->encoderMenuActions());
    m_pnMid = new OutputOptionsPanel((*m_actions)[MainCommand::actBrowseOutDir],
        (*m_actions)[MainCommand::actExploreOutDir], m_settings, this);
    // The user decides how the height is shared between the list and the
    // settings below it.
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("splMain"));
    m_splitter->setChildrenCollapsible(false);
    // Below the list: in a window too small for them the controls scroll
    // rather than overlap or lose their ends.
    auto *settings = new QWidget;
    auto *layout = new QVBoxLayout(settings);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pnMid);
    layout->addWidget(m_conversionSettings, 1);
    m_below = new ContentsScrollArea(m_splitter);
    m_below->setObjectName(QStringLiteral("sboxSettings"));
    m_below->setFrameShape(QFrame::NoFrame);
    // A container, not a control: Tab goes to the controls inside it, and
    // the area scrolls to show the one with the focus.
    m_below->setFocusPolicy(Qt::NoFocus);
    m_below->setWidget(settings);
    m_splitter->addWidget(m_panel);
    m_splitter->addWidget(m_below);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    connect(m_splitter, &QSplitter::splitterMoved, this, [this](int listHeight) {
        m_listHeightChosen = true;
        m_main.FileListHeight = listHeight;
    });
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->addWidget(m_splitter);
    setCentralWidget(central);
    // Tab follows the window from top to bottom, not the order the panels
    // were made in.
    chainTabStops(this, {m_panel, m_pnMid, m_conversionSettings});
}

TFormMain::~TFormMain() = default;

const EncodingSettings &TFormMain::settings() const
{
    return m_settings->settings();
}

void TFormMain::SetLang()
{
    m_actions->setLang(m_strings);
    m_menus->setLang(m_strings, *m_actions);
    m_pnMid->SetLang(m_strings);
    m_panel->SetLang(m_strings);
    m_conversionSettings->SetLang(m_strings);
    m_progressWindow->SetLang(m_strings);
    m_errorsWindow->SetLang(m_strings);
    m_fileInfoWindow->SetLang(m_strings);
    m_conversion->SetLang(m_strings);
    m_about->SetLang(m_strings);
    m_toolsInfo->SetLang(m_strings);
    m_checkUpdate->SetLang(m_strings);
    InitControls();
}

void TFormMain::InitControls()
{
    // During a run everything stays disabled; its end runs the pass again.
    if (!m_ready || m_running)
        return;
    const std::vector<FileListRow> &rows = m_panel->rows();
    const int row = m_panel->currentRow();
    std::optional<QString> folder;
    if (IsValidRowIndex(rows, row))
        folder = GetNgDirectory(rows, row);
    const MainControls controls
        = ::InitControls(m_panel->gridInfo(), folder, isVisible(), settings().rbOutDir, m_strings);
    m_actions->apply(controls);
    action(MainCommand::actCheckFailed)->setEnabled(retryPossible());
    m_pnMid->setOutDirEnabled(controls.outDirControls);
    if (controls.windowTitle)
        setWindowTitle(*controls.windowTitle);
}

void TFormMain::onSelectionSettled(int row)
{
    const QString file = GetNgFullFileName(m_panel->rows(), row);
    setWindowTitle(selectedRowWindowTitle(file));
    const std::vector<FileListRow> &rows = m_panel->rows();
    m_conversionSettings->setSelectedFile(
        file, IsValidRowIndex(rows, row) ? rows[size_t(row)].treeRoot : QString());
    if (m_fileInfoWindow->isVisible())
        showFileInfoOfCurrentRow();
    InitControls();
}

void TFormMain::addCommandLinePaths(const QStringList &arguments)
{
    // One at a time, in the order given: a drop would sort them.
    for (const QString &argument : arguments) {
        const QFileInfo info(argument);
        const QString path = info.absoluteFilePath();
        if (info.suffix().compare(u"lst", Qt::CaseInsensitive) == 0) {
            QString error;
            if (!m_panel->loadListFile(path, &error))
                showListError(error);
        } else if (info.isDir()) {
            m_panel->addFolder(path);
        } else {
            m_panel->addFiles({path});
        }
    }
}

QAction *TFormMain::action(MainCommand command) const
{
    return (*m_actions)[command];
}

QMenu *TFormMain::popLv() const
{
    return m_menus->popLv();
}

QMenu *TFormMain::popTi() const
{
    return m_tray->popTi();
}

QList<QWidget *> TFormMain::otherWindows() const
{
    QList<QWidget *> windows{
        m_about, m_progressWindow, m_errorsWindow, m_fileInfoWindow, m_toolsInfo, m_checkUpdate};
    if (m_options)
        windows.append(m_options);
    return windows;
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    // During a run the user is asked; on Yes the run is aborted and cleaned
    // up before the window goes, so no FFmpeg is left behind.
    if (!m_closed && !m_conversion->confirmClose()) {
        event->ignore();
        return;
    }
    if (!m_closed) {
        m_closed = true;
        setAcceptDrops(false);
        SaveSettingsToIni();
        m_tray->setVisible(false);
        Q_EMIT closed();
    }
    event->accept();
}

void TFormMain::closeForSignal()
{
    if (m_closed)
        return;
    if (!m_conversion->abortForExit()) {
        // A question of the run was on screen; its loop returns first.
        QTimer::singleShot(50, this, &TFormMain::closeForSignal);
        return;
    }
    close();
}

void TFormMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_splitterPlaced) {
        m_splitterPlaced = true;
        placeSplitter();
        // After the first layout pass: only then do the controls know the
        // room their texts need.
        if (!m_sizeStored)
            QTimer::singleShot(0, this, &TFormMain::widenToFit);
    }
    InitControls();
}

void TFormMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_splitterPlaced)
        placeSplitter();
}

void TFormMain::widenToFit()
{
    // A window of the default size in a language or font that needs more
    // room gets it, as far as the screen allows: the settings whole, and
    // seven rows of the list above them.
    centralWidget()->layout()->activate();
    const int listMissing = m_panel->heightForRows(MinimumListRows) - m_panel->height();
    const QSize missing(m_below->missingSize().width(),
        std::max(m_below->missingSize().height() + std::max(listMissing, 0), 0));
    if (missing.isNull() || !screen())
        return;
    const QSize frame = frameGeometry().size() - size();
    const QSize room = screen()->availableSize() - frame;
    resize((size() + missing).boundedTo(room).expandedTo(size().boundedTo(room)));
    placeSplitter();
}

void TFormMain::placeSplitter()
{
    // The list height the user chose, else: the settings below get what
    // they need, the advanced section too where the window is tall enough,
    // and the list keeps at least seven rows of the rest. Where the window
    // is too small for both, the list keeps its seven rows and the settings
    // scroll.
    centralWidget()->layout()->activate();
    const int total = m_splitter->height() - m_splitter->handleWidth();
    const int listMinimum = std::min(m_panel->heightForRows(MinimumListRows), total);
    const auto place = [&](int list) {
        list = std::clamp(list, std::max(m_panel->minimumSizeHint().height(), 0),
            std::max(total - m_splitter->widget(1)->minimumSizeHint().height(), 0));
        m_splitter->setSizes({list, total - list});
        m_below->widget()->layout()->activate();
    };
    if (m_listHeightChosen) {
        place(m_main.FileListHeight);
        return;
    }
    place(std::max(total - m_splitter->widget(1)->sizeHint().height(), listMinimum));
    const int hidden = m_conversionSettings->hiddenHeight();
    if (hidden > 0)
        place(std::max(m_panel->height() - hidden, listMinimum));
}

void TFormMain::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    InitControls();
}

void TFormMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    m_panel->addPaths(paths);
}
