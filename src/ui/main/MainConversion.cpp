// The main window's side of a conversion: the commands that start one, the
// windows that show it, and DisableAll / EnableAll around it.
#include "ui/main/MainWindow.h"

#include "app/AppInfo.h"
#include "app/AppParams.h"
#include "app/AppStartup.h"
#include "app/FileLocations.h"
#include "app/ProgramDir.h"
#include "app/ToolResolution.h"
#include "i18n/FFmpegMissing.h"
#include "ui/common/PlainText.h"
#include "ui/conversion/ConversionController.h"
#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/filelist/FileListPanel.h"
#include "ui/info/FileInfoWindow.h"
#include "ui/main/MainActions.h"
#include "ui/main/OutputOptionsPanel.h"
#include "ui/settings/ConversionSettingsPanel.h"

#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>

using C = MainCommand;

void TFormMain::createConversionWindows()
{
    const TAppParams &params = AppParams();
    m_progressWindow = new TFormProgress(this);
    m_progressWindow->applySettings(m_progress);
    m_progressWindow->setMonospaceFont(params.MonospaceFont);
    m_progressWindow->setStatusColors(params.ColorOK, params.ColorError);
    m_errorsWindow = new TFormErrors(this);
    m_errorsWindow->setMonospaceFont(params.MonospaceFont);
    m_errorsWindow->setSaveFolder(ReportSaveFolder(LocateFiles(ProgramDir())));
    m_fileInfoWindow = new TFormFileInfo(this);
    m_fileInfoWindow->setWebSite(WebSiteUrl(params));
    m_conversion = new ConversionController(this, m_progressWindow, m_errorsWindow, this);

    connect(m_conversion, &ConversionController::runStarted, this, [this] { setRunning(true); });
    connect(m_conversion, &ConversionController::runFinished, this, [this] { setRunning(false); });
    connect(m_conversion, &ConversionController::rowStatusChanged, m_panel,
        &FileListPanel::setRowStatus);
    connect(m_conversion, &ConversionController::titleChanged, this, &QWidget::setWindowTitle);
    connect(m_conversion, &ConversionController::closeApplicationRequested, this, &QWidget::close);
    connect(m_fileInfoWindow, &TFormFileInfo::ffmpegMissing, this, [this] {
        ShowPlainMessage(m_fileInfoWindow, QMessageBox::Warning,
            QLatin1String(AppInfo::ProgramName), FFmpegMissingText(m_strings));
    });

    connect(action(C::actConvert), &QAction::triggered, this,
        [this] { m_conversion->convert(conversionSetup(), conversionRows()); });
    connect(action(C::actSaveBat), &QAction::triggered, this, [this] {
        const QString saved
            = m_conversion->saveBatchScript(conversionSetup(), conversionRows(), InitialFolder());
        if (!saved.isEmpty())
            UpdateInitialFolders(QFileInfo(saved).absolutePath());
    });
    connect(action(C::actShowProgressWindow), &QAction::triggered, m_progressWindow,
        &TFormProgress::toggleShown);
    connect(action(C::actShowHideFormErrors), &QAction::triggered, m_errorsWindow,
        &TFormErrors::toggleShown);
    connect(action(C::actShowHideFileInfo), &QAction::triggered, this, [this] {
        if (m_fileInfoWindow->toggleShown())
            showFileInfoOfCurrentRow();
    });
    connect(action(C::actCheckFailed), &QAction::triggered, this, [this] {
        m_panel->setChecks(m_conversion->checksForRetry());
        InitControls();
    });
}

void TFormMain::showFileInfoOfCurrentRow()
{
    TAppParams &params = AppParams();
    m_panel->selectFirstRowIfNone();
    const QString file = GetNgFullFileName(m_panel->rows(), m_panel->currentRow());
    m_fileInfoWindow->setFile(file, ResolveFFmpegPath(params), ResolveMediaInfoPath(params));
}

ConversionSetup TFormMain::conversionSetup() const
{
    ConversionSetup setup;
    setup.settings = settings();
    setup.lists = m_conversionSettings->lists();
    setup.strings = m_strings;
    setup.params = AppParams();
    setup.toolLookup = DefaultToolLookup();
    return setup;
}

std::vector<ConversionRow> TFormMain::conversionRows() const
{
    return ConversionRowsOf(m_panel->rows());
}

bool TFormMain::retryPossible() const
{
    // Only while the list is the one the run saw.
    if (m_conversion->isRunning() || !m_conversion->hasRowsToRetry())
        return false;
    const std::vector<ConversionRow> &ran = m_conversion->lastResult().rows;
    const std::vector<FileListRow> &now = m_panel->rows();
    if (ran.size() != now.size())
        return false;
    for (size_t i = 0; i < now.size(); ++i)
        if (ran[i].FullFileName != fullFileName(now[i]))
            return false;
    return true;
}

void TFormMain::setRunning(bool running)
{
    m_running = running;
    // DisableAll: nothing may start anything while the run goes on.
    menuBar()->setEnabled(!running);
    for (QToolBar *bar : findChildren<QToolBar *>())
        bar->setEnabled(!running);
    m_panel->setEnabled(!running);
    m_pnMid->setEnabled(!running);
    m_conversionSettings->setRunning(running);
    if (running) {
        m_actions->disableAll();
        return;
    }
    m_actions->enableAll();
    InitControls();
}
