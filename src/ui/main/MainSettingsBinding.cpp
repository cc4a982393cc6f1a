// The main window's part of the settings file: read at start, written at
// exit. The core reads, normalises and writes the keys; this binds them to
// the window, the file list and the encoding settings.

#include "ui/main/MainSettingsBinding.h"

#include "app/AppStartup.h"
#include "encoding/Profiles.h"
#include "encoding/SettingsFileTransfer.h"
#include "ui/common/Theme.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/filelist/FileListPanel.h"
#include "ui/main/MainWindow.h"
#include "ui/main/OutputOptionsPanel.h"
#include "ui/settings/ConversionSettingsPanel.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>

SettingsEnvironment desktopSettingsEnvironment()
{
    SettingsEnvironment env;
    QScreen *primary = QGuiApplication::primaryScreen();
    if (primary)
        env.screens.append(primary->availableGeometry());
    for (QScreen *screen : QGuiApplication::screens())
        if (screen != primary)
            env.screens.append(screen->availableGeometry());
    env.desktopDir = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    env.installedFontFamilies = QFontDatabase::families();
    env.defaultFontFamily = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return env;
}

void TFormMain::LoadSettingsFromIni(EncodingSettings &start)
{
    TAppParams &params = AppParams();
    const SettingsEnvironment env = desktopSettingsEnvironment();
    params.MonospaceFont = ChooseMonospaceFont(env.installedFontFamilies);
    if (params.MonospaceFont.Name.isEmpty()) {
        const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        params.MonospaceFont = {fixed.family(), fixed.pointSize()};
    }

    // What the window holds at this point: the built-in values, the
    // language chosen at start and the page of the last-session profile.
    MainSettings current = DefaultMainSettings(env);
    current.LanguageIni = params.LanguageIni;
    current.OutputFormat = start.pcVideoFormat;
    const bool haveFile = QFileInfo(params.IniName).isFile();
    m_main = LoadSettingsFile(params.IniName, current, env);
    m_progress = LoadProgressSettingsFile(params.IniName, ProgressSettings{}, env);

    ApplyMainSettings(params, m_main);
    ApplyMainSettings(start, m_main);
    ApplyTheme(m_main.Theme);
    if (!m_main.LastDir.isEmpty())
        UpdateInitialFolders(m_main.LastDir);

    QSize size(m_main.Width, m_main.Height);
    if (haveFile) {
        move(m_main.Left, m_main.Top);
    } else if (!env.screens.isEmpty()) {
        // A first run leaves the place to the window manager, and a small
        // screen gets a window that fits.
        size = size.boundedTo(env.screens.first().size()).expandedTo(minimumSize());
    }
    resize(size);
    m_listHeightChosen = m_main.FileListHeight > 0;
    if (m_main.Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);

    m_panel->setParams(params);
    m_panel->setColumnStates(m_main.Columns);
    applyListAppearance();
}

void TFormMain::applyListAppearance()
{
    m_panel->setListFont(QFont(m_main.ListFontName, m_main.ListFontSize));
    m_panel->setRowHeight(m_main.RowHeight);
    m_panel->setGridLines(m_main.GridLines);
    m_panel->setFooterVisible(m_main.GridFooter);
    m_panel->setRowIndicator(m_main.RowIndicator);
    m_panel->setRowMovingAllowed(m_main.AllowRowMoving);
    m_panel->setColumnMovingAllowed(m_main.AllowColumnMoving);
}

void TFormMain::SaveSettingsToIni()
{
    const TAppParams &params = AppParams();
    MainSettings m = m_main;
    StoreMainSettings(m, params);
    StoreMainSettings(m, settings());
    m.Maximized = isMaximized();
    if (!m.Maximized) {
        m.Left = x();
        m.Top = y();
        m.Width = width();
        m.Height = height();
    }
    m.Columns = m_panel->columnStates();
    m.pnConversionSettingsExpanded = m_conversionSettings->isExpanded();
    m.FileListHeight = m_listHeightChosen ? m_splitter->sizes().constFirst() : 0;
    m.LastDir = InitialFolder();

    // A read-only program folder must not keep the program from closing;
    // the core never leaves half a file. Nothing to show the user at exit,
    // so the reason goes to the log.
    m_progress = m_progressWindow->settings();
    QString error;
    if (!SaveSettingsFile(params.IniName, m, m_progress, &error))
        qWarning("Settings not saved: %s", qUtf8Printable(error));
    if (!SaveProfile(params.LastProfileFile, settings(), m_strings, &error))
        qWarning("Last-session settings not saved: %s", qUtf8Printable(error));
}
