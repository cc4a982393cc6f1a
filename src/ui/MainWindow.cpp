#include "ui/MainWindow.h"

#include "app/AppInfo.h"
#include "app/AppParams.h"
#include "app/AppStartup.h"
#include "app/IniFile.h"
#include "app/ProgramDir.h"
#include "i18n/LanguageStartup.h"

#include <QCoreApplication>
#include <QFileInfo>

TFormMain::TFormMain(QWidget *parent)
    : QMainWindow(parent)
{
    setMinimumSize(650, 400);
    resize(998, 712);

    if (ProgramDir().isEmpty())
        SetProgramDir(QCoreApplication::applicationDirPath());
    TAppParams &params = AppParams();
    params = InitAppParams(ProgramDir());

    setWindowTitle(AppInfo::ProgramTitle());
    QCoreApplication::setApplicationName(AppInfo::ProgramTitle());

    IniFile settings(params.IniName);
    settings.load();
    params.LanguageIni = InitLang(
        CheckIniFile(params), settings, params.LangDir, SystemPrimaryLanguageId(), m_strings);
    if (QFileInfo::exists(params.IniName))
        params.LanguageIni
            = LoadLanguageFromSettings(settings, params.LanguageIni, params.LangDir, m_strings);

    UpdateInitialFolders(ProgramDir());
    EnsureProfilesDir(params);
}
