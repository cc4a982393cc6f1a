#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

class IniFile;
class TLangIniList;
struct TAppStrings;
struct TLangIniListItem;

// The primary-language code of the Windows locale identifier (its low ten
// bits) for a language: 7 German, 22 Portuguese, ...; 0 when the language has
// no code in our table of interest.
int PrimaryLanguageId(QLocale::Language language);
// PrimaryLanguageId of the system's user-interface language.
int SystemPrimaryLanguageId();
// The language file offered on a first run: "German.ini" for 7, ...,
// "English.ini" for every code without a translation.
QString LanguageFileForPrimaryLanguage(int primaryLanguageId);

// The usable language files of the language folder ("*.ini"), by file name.
TLangIniList PrepareLangIniList(const QString &langDir);

// Start-up language. Not a first run: the file named by LanguageIni in
// section MAIN of the settings. A first run: the file matching
// primaryLanguageId, when it exists in langDir. The catalogue is reset to
// English and the chosen file loaded over it. Returns the new LanguageIni
// (short file name), empty when a first run finds no matching file.
QString InitLang(bool firstRun, const IniFile &settings, const QString &langDir,
    int primaryLanguageId, TAppStrings &strings);

// The settings reader's language step: LanguageIni of section MAIN (default
// currentLanguageIni), the catalogue reset to English and that file loaded.
// Returns the new LanguageIni.
QString LoadLanguageFromSettings(const IniFile &settings, const QString &currentLanguageIni,
    const QString &langDir, TAppStrings &strings);

// A language picked by its native name in the options window: resets the
// catalogue to English and loads the first matching item's file. Returns that
// item (its short file name is the new LanguageIni), nullptr when no item
// matches and nothing changed.
const TLangIniListItem *SelectLanguageByNativeName(
    const TLangIniList &list, QStringView nativeName, TAppStrings &strings);

// Entry of the options window's language box to select for languageIni: the
// matching item, else the first one; -1 for an empty list.
qsizetype LanguageBoxIndex(const TLangIniList &list, QStringView languageIni);
