#include "i18n/LanguageStartup.h"

#include "app/IniFile.h"
#include "i18n/AppStrings.h"
#include "i18n/LangIniList.h"

#include <QFileInfo>

namespace {

const QString kMainSection = QStringLiteral("MAIN");
const QString kLanguageIniKey = QStringLiteral("LanguageIni");

QString languagePath(const QString &langDir, const QString &languageIni)
{
    return langDir + u'/' + languageIni;
}

} // namespace

int PrimaryLanguageId(QLocale::Language language)
{
    // Windows keys the language by the primary-language part of its locale
    // identifier, so territories and scripts do not matter: every Chinese
    // shares 4, every Portuguese 22, and Serbian and Bosnian share Croatian's 26.
    switch (language) {
    case QLocale::Arabic:
        return 1;
    case QLocale::Bulgarian:
        return 2;
    case QLocale::Catalan:
        return 3;
    case QLocale::Chinese:
        return 4;
    case QLocale::Czech:
        return 5;
    case QLocale::Danish:
        return 6;
    case QLocale::German:
        return 7;
    case QLocale::Greek:
        return 8;
    case QLocale::English:
        return 9;
    case QLocale::Spanish:
        return 10;
    case QLocale::Finnish:
        return 11;
    case QLocale::French:
        return 12;
    case QLocale::Hebrew:
        return 13;
    case QLocale::Hungarian:
        return 14;
    case QLocale::Icelandic:
        return 15;
    case QLocale::Italian:
        return 16;
    case QLocale::Japanese:
        return 17;
    case QLocale::Korean:
        return 18;
    case QLocale::Dutch:
        return 19;
    case QLocale::NorwegianBokmal:
    case QLocale::NorwegianNynorsk:
        return 20;
    case QLocale::Polish:
        return 21;
    case QLocale::Portuguese:
        return 22;
    case QLocale::Romansh:
        return 23;
    case QLocale::Romanian:
        return 24;
    case QLocale::Russian:
        return 25;
    case QLocale::Croatian:
    case QLocale::Serbian:
    case QLocale::Bosnian:
        return 26;
    case QLocale::Slovak:
        return 27;
    case QLocale::Albanian:
        return 28;
    case QLocale::Swedish:
        return 29;
    case QLocale::Thai:
        return 30;
    case QLocale::Turkish:
        return 31;
    case QLocale::Urdu:
        return 32;
    case QLocale::Indonesian:
        return 33;
    case QLocale::Ukrainian:
        return 34;
    case QLocale::Belarusian:
        return 35;
    case QLocale::Slovenian:
        return 36;
    case QLocale::Estonian:
        return 37;
    case QLocale::Latvian:
        return 38;
    case QLocale::Lithuanian:
        return 39;
    case QLocale::Tajik:
        return 40;
    case QLocale::Persian:
        return 41;
    case QLocale::Vietnamese:
        return 42;
    default:
        return 0;
    }
}

int SystemPrimaryLanguageId()
{
    return PrimaryLanguageId(QLocale::system().language());
}

QString LanguageFileForPrimaryLanguage(int primaryLanguageId)
{
    const char *name = nullptr;
    switch (primaryLanguageId) {
    case 1:
        name = "Arabic";
        break;
    case 2:
        name = "Bulgarian";
        break;
    case 4:
        name = "Chinese_Simplified";
        break;
    case 5:
        name = "Czech";
        break;
    case 6:
        name = "Danish";
        break;
    case 7:
        name = "German";
        break;
    case 8:
        name = "Greek";
        break;
    case 10:
        name = "Spanish";
        break;
    case 11:
        name = "Finnish";
        break;
    case 12:
        name = "French";
        break;
    case 13:
        name = "Hebrew";
        break;
    case 14:
        name = "Hungarian";
        break;
    case 15:
        name = "Icelandic";
        break;
    case 16:
        name = "Italian";
        break;
    case 17:
        name = "Japanese";
        break;
    case 18:
        name = "Korean";
        break;
    case 19:
        name = "Dutch";
        break;
    case 20:
        name = "Norwegian";
        break;
    case 21:
        name = "Polish";
        break;
    case 22:
        name = "Portuguese_BR";
        break;
    case 24:
        name = "Romanian";
        break;
    case 25:
        name = "Russian";
        break;
    case 26:
        name = "Croatian";
        break;
    case 27:
        name = "Slovak";
        break;
    case 28:
        name = "Albanian";
        break;
    case 29:
        name = "Swedish";
        break;
    case 30:
        name = "Thai";
        break;
    case 31:
        name = "Turkish";
        break;
    case 34:
        name = "Ukrainian";
        break;
    case 35:
        name = "Belarusian";
        break;
    case 36:
        name = "Slovenian";
        break;
    case 37:
        name = "Estonian";
        break;
    case 38:
        name = "Latvian";
        break;
    case 39:
        name = "Lithuanian";
        break;
    case 42:
        name = "Vietnamese";
        break;
    default:
        name = "English";
        break;
    }
    return QLatin1String(name) + QLatin1String(".ini");
}

TLangIniList PrepareLangIniList(const QString &langDir)
{
    TLangIniList list;
    list.AddIniFilesFromDir(langDir, QStringLiteral("ini"));
    return list;
}

QString InitLang(bool firstRun, const IniFile &settings, const QString &langDir,
    int primaryLanguageId, TAppStrings &strings)
{
    QString languageIni;
    QString path;
    if (!firstRun) {
        languageIni = settings.readString(kMainSection, kLanguageIniKey);
        path = languagePath(langDir, languageIni);
    } else {
        const QString candidate = LanguageFileForPrimaryLanguage(primaryLanguageId);
        path = languagePath(langDir, candidate);
        if (QFileInfo(path).isFile())
            languageIni = candidate;
    }
    strings.SetEN();
    strings.LoadFromFile(path);
    return languageIni;
}

QString LoadLanguageFromSettings(const IniFile &settings, const QString &currentLanguageIni,
    const QString &langDir, TAppStrings &strings)
{
    QString languageIni = settings.readString(kMainSection, kLanguageIniKey, currentLanguageIni);
    strings.SetEN();
    strings.LoadFromFile(languagePath(langDir, languageIni));
    return languageIni;
}

const TLangIniListItem *SelectLanguageByNativeName(
    const TLangIniList &list, QStringView nativeName, TAppStrings &strings)
{
    const TLangIniListItem *item = list.GetItemByNativeName(nativeName);
    if (!item)
        return nullptr;
    strings.SetEN();
    strings.LoadFromFile(item->FileName);
    return item;
}

qsizetype LanguageBoxIndex(const TLangIniList &list, QStringView languageIni)
{
    const qsizetype index = list.indexOfShortFileName(languageIni);
    if (index >= 0)
        return index;
    return list.count() > 0 ? 0 : -1;
}
