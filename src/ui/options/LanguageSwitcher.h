#pragma once

#include "i18n/LangIniList.h"

#include <QObject>
#include <QString>

struct TAppParams;
struct TAppStrings;

// The language choice at run time: the list of language files, built once
// when the program starts, and the switch to one of them. The main window
// passes languageChanged on to every window's SetLang, the options window's
// first.
class LanguageSwitcher : public QObject
{
    Q_OBJECT
public:
    // strings is the catalogue every window reads; params.LangDir is listed
    // here and params.LanguageIni follows each choice.
    LanguageSwitcher(TAppStrings &strings, TAppParams &params, QObject *parent = nullptr);

    const TLangIniList &languages() const { return m_languages; }
    // False when the program has no language folder.
    bool hasLanguageFolder() const { return m_hasFolder; }
    const TAppStrings &strings() const { return m_strings; }

    // The first language whose native name matches: LanguageIni set to its
    // file name, the catalogue reset to English and the file loaded over it,
    // then languageChanged. False, with nothing changed, when none matches.
    bool chooseByNativeName(const QString &nativeName);

Q_SIGNALS:
    void languageChanged(const TAppStrings &strings);

private:
    TAppStrings &m_strings;
    TAppParams &m_params;
    TLangIniList m_languages;
    bool m_hasFolder = false;
};
