#include "ui/options/LanguageSwitcher.h"

#include "app/AppParams.h"
#include "i18n/AppStrings.h"
#include "i18n/LanguageStartup.h"

#include <QDir>
#include <QFileInfo>

LanguageSwitcher::LanguageSwitcher(TAppStrings &strings, TAppParams &params, QObject *parent)
    : QObject(parent)
    , m_strings(strings)
    , m_params(params)
    , m_languages(PrepareLangIniList(params.LangDir))
    , m_hasFolder(!params.LangDir.isEmpty() && QDir(params.LangDir).exists())
{ }

bool LanguageSwitcher::chooseByNativeName(const QString &nativeName)
{
    const TLangIniListItem *item = SelectLanguageByNativeName(m_languages, nativeName, m_strings);
    if (!item)
        return false;
    m_params.LanguageIni = QFileInfo(item->FileName).fileName();
    Q_EMIT languageChanged(m_strings);
    return true;
}
