// The main window's side of the options: the windows reached from the View
// and Help menus, the live language switch, and the list look the options
// window edits.
#include "ui/main/MainWindow.h"

#include "app/AppParams.h"
#include "ui/common/Theme.h"
#include "ui/filelist/FileListPanel.h"
#include "ui/main/MainActions.h"
#include "ui/options/LanguageSwitcher.h"
#include "ui/options/OptionsWindow.h"
#include "ui/settings/ConversionSettingsPanel.h"
#include "ui/settings/SettingsOwner.h"
#include "ui/tools/ToolsInfoWindow.h"
#include "ui/update/CheckUpdateWindow.h"

using C = MainCommand;

void TFormMain::createOptionsWindows()
{
    TAppParams &params = AppParams();
    m_languages = new LanguageSwitcher(m_strings, params, this);
    m_toolsInfo = new TFormToolsInfo(params, m_strings, this);
    m_checkUpdate = new TFormCheckUpdate(params, m_strings, this);

    connect(m_languages, &LanguageSwitcher::languageChanged, this, [this] {
        // The options window first: it is the one the user is looking at.
        if (m_options)
            m_options->SetLang(m_strings);
        SetLang();
    });

    connect(action(C::actShowOptions), &QAction::triggered, this, [this] {
        TFormOptions *options = optionsWindow();
        options->show();
        options->raise();
        options->activateWindow();
    });
    connect(action(C::actToolsInfo), &QAction::triggered, this, [this] {
        // Shown again, it builds the report again: the tools may have changed.
        if (m_toolsInfo->isVisible())
            m_toolsInfo->refresh();
        m_toolsInfo->show();
        m_toolsInfo->raise();
    });
    connect(action(C::actCheckUpdate), &QAction::triggered, m_checkUpdate,
        &TFormCheckUpdate::showAndCheck);
}

TFormOptions *TFormMain::optionsWindow()
{
    if (!m_options)
        m_options = new TFormOptions(*this, *m_languages, AppParams(), this);
    return m_options;
}

FileListLook TFormMain::fileListLook() const
{
    FileListLook look;
    look.ListFontName = m_main.ListFontName;
    look.ListFontSize = m_main.ListFontSize;
    look.RowHeight = m_main.RowHeight;
    look.GridLines = m_main.GridLines;
    look.GridFooter = m_main.GridFooter;
    look.RowIndicator = m_main.RowIndicator;
    look.AllowRowMoving = m_main.AllowRowMoving;
    look.AllowColumnMoving = m_main.AllowColumnMoving;
    return look;
}

int TFormMain::defaultVideoCodec() const
{
    return m_main.DefaultVideoCodec;
}

AppTheme TFormMain::theme() const
{
    return m_main.Theme;
}

void TFormMain::setTheme(AppTheme theme)
{
    m_main.Theme = theme;
    ApplyTheme(theme);
}

void TFormMain::setListFontName(const QString &family)
{
    m_main.ListFontName = family;
    m_panel->setListFont(QFont(m_main.ListFontName, m_main.ListFontSize));
}

void TFormMain::setListFontSize(int points)
{
    m_main.ListFontSize = points;
    m_panel->setListFont(QFont(m_main.ListFontName, m_main.ListFontSize));
}

void TFormMain::setListRowHeight(int pixels)
{
    m_main.RowHeight = pixels;
    m_panel->setRowHeight(pixels);
}

void TFormMain::setListGridLines(bool on)
{
    m_main.GridLines = on;
    m_panel->setGridLines(on);
}

void TFormMain::setListFooterVisible(bool on)
{
    m_main.GridFooter = on;
    m_panel->setFooterVisible(on);
}

void TFormMain::setListRowIndicator(bool on)
{
    m_main.RowIndicator = on;
    m_panel->setRowIndicator(on);
}

void TFormMain::setListRowMovingAllowed(bool on)
{
    m_main.AllowRowMoving = on;
    m_panel->setRowMovingAllowed(on);
}

void TFormMain::setListColumnMovingAllowed(bool on)
{
    m_main.AllowColumnMoving = on;
    m_panel->setColumnMovingAllowed(on);
}

void TFormMain::setDefaultVideoCodec(int aviCodec)
{
    m_main.DefaultVideoCodec = aviCodec;
    m_conversionSettings->setDefaultVideoCodec(aviCodec);
}

int TFormMain::simultaneousConversions() const
{
    return m_settings->settings().cbSimultaneousConversions;
}

void TFormMain::setSimultaneousConversions(int count)
{
    m_settings->update([count](EncodingSettings &s) { s.cbSimultaneousConversions = count; });
}

void TFormMain::appParamsChanged(const TAppParams &params)
{
    // Only the file list reads the two; the settings panel's lists do not
    // depend on them.
    m_panel->setParams(params);
}
