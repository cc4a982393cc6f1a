#pragma once

#include "i18n/AppStringsTable.h"

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QStringView>
#include <span>

#define QLN_DECLARE_APP_STRING(Module, Key, FileKey, English) QString Key;

struct TMainModuleStrings
{
    QLN_APP_STRINGS_Main(QLN_DECLARE_APP_STRING)
};
struct TErrorsModuleStrings
{
    QLN_APP_STRINGS_Errors(QLN_DECLARE_APP_STRING)
};
struct TFileInfoModuleStrings
{
    QLN_APP_STRINGS_FileInfo(QLN_DECLARE_APP_STRING)
};
struct TOptionsModuleStrings
{
    QLN_APP_STRINGS_Options(QLN_DECLARE_APP_STRING)
};
struct TProgressModuleStrings
{
    QLN_APP_STRINGS_Progress(QLN_DECLARE_APP_STRING)
};
struct TAboutModuleStrings
{
    QLN_APP_STRINGS_About(QLN_DECLARE_APP_STRING)
};
struct TToolsInfoModuleStrings
{
    QLN_APP_STRINGS_ToolsInfo(QLN_DECLARE_APP_STRING)
};
struct TCheckUpdateModuleStrings
{
    QLN_APP_STRINGS_CheckUpdate(QLN_DECLARE_APP_STRING)
};

#undef QLN_DECLARE_APP_STRING

// Every text the user sees and a translator may change. A new catalogue is
// complete and English; a language file overlays it.
struct TAppStrings
{
    // Describes one entry of the table, for code that walks all entries.
    struct EntryInfo
    {
        QLatin1String module; // "Main"
        QLatin1String key; // "actConvert"
        QLatin1String section; // language-file section, "MAIN"
        QLatin1String fileKey; // language-file key; empty when not read from a file

        QString name() const; // "Main.actConvert"
    };

    static constexpr QLatin1String InfoSection{"INFO"};
    static constexpr QLatin1String LangNameInEnglishKey{"LangName_InEnglish"};
    static constexpr QLatin1String LangNameNativeKey{"LangName_Native"};

    TMainModuleStrings Main;
    TErrorsModuleStrings Errors;
    TFileInfoModuleStrings FileInfo;
    TOptionsModuleStrings Options;
    TProgressModuleStrings Progress;
    TAboutModuleStrings About;
    TToolsInfoModuleStrings ToolsInfo;
    TCheckUpdateModuleStrings CheckUpdate;
    // The language's English name; not an entry of any module.
    QString LanguageName;

    TAppStrings();

    // Sets every entry and LanguageName to English.
    void SetEN();
    // Overlays the entries found in a language file. Keys the file lacks keep
    // their current text, so callers reset to English first when switching.
    // A missing or unreadable file changes nothing.
    void LoadFromFile(const QString &fileName);

    // The catalogue as a language file: UTF-8 with a byte-order mark, every
    // key a language file is read from, INFO first.
    QByteArray toLanguageFile(const QString &nativeName) const;

    // All module entries in table order (LanguageName is not one of them).
    static std::span<const EntryInfo> entries();
    // Entries of one module ("Main", ...); 0 for an unknown module.
    static qsizetype entryCount(QStringView module);

    QString &entry(qsizetype index);
    const QString &entry(qsizetype index) const;
    // "Module.Key" (case-sensitive) or "LanguageName"; nullptr when unknown.
    QString *find(QStringView moduleDotKey);
    const QString *find(QStringView moduleDotKey) const;
};

// The display text of an entry: "\n" becomes CR LF, "\t" a tab, then its
// first "%s" becomes s1 and its second s2.
QString FormatAppString(const QString &text, const QString &s1 = {}, const QString &s2 = {});

// A caption as plain text (a title, a hint, a name for screen readers): the
// "&" that marks its Alt+letter goes, a doubled "&&" stays one "&".
QString WithoutMnemonic(const QString &caption);

// Text shown inside a caption (a folder name): each "&" doubled, so it is
// shown as itself and marks no Alt+letter.
QString LiteralInCaption(const QString &text);
