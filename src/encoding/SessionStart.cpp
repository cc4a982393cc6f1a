#include "encoding/SessionStart.h"

#include "app/AppStartup.h"
#include "app/IniFile.h"
#include "encoding/Profiles.h"
#include "encoding/SettingsDefaults.h"
#include "i18n/LanguageStartup.h"

#include <QFileInfo>

SessionStart StartSession(const QString &programDir, int primaryLanguageId, int defaultVideoCodec)
{
    SessionStart start;
    TAppParams &params = start.params;
    params = InitAppParams(programDir);

    IniFile settingsFile(params.IniName);
    const bool haveFile = QFileInfo::exists(params.IniName);
    if (QString error; !settingsFile.load(&error) && haveFile)
        start.settingsError = error.isEmpty() ? QStringLiteral("unreadable") : error;
    start.sizeStored = settingsFile.hasKey(QStringLiteral("MAIN"), QStringLiteral("Width"));
    params.LanguageIni = InitLang(
        CheckIniFile(params), settingsFile, params.LangDir, primaryLanguageId, start.strings);
    if (haveFile)
        params.LanguageIni = LoadLanguageFromSettings(
            settingsFile, params.LanguageIni, params.LangDir, start.strings);

    start.settings = DefaultEncodingSettings(start.strings, defaultVideoCodec);
    UpdateInitialFolders(params.DocumentsDir);
    EnsureProfilesDir(params);
    if (QFileInfo(params.LastProfileFile).isFile())
        LoadProfile(params.LastProfileFile, start.settings, start.strings, defaultVideoCodec);
    return start;
}
