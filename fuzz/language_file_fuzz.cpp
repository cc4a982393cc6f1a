// Language files on any bytes: the catalogue takes what it can, the texts
// format without harm, the language list shows a name for each file it
// lists, and a catalogue saved as a language file reads back the same.

#include "FuzzSupport.h"

#include "i18n/AppStrings.h"
#include "i18n/LangIniList.h"
#include "i18n/LanguageStartup.h"

#include <QDir>
#include <QFile>

namespace {

QString oneLine(QString text)
{
    return text.replace(u'\r', u' ').replace(u'\n', u' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString langDir = [] {
        const QString dir = Fuzz::scratchDir() + QStringLiteral("/lang");
        QDir().mkpath(dir);
        return dir;
    }();
    const QString file
        = Fuzz::writeScratchFile(QStringLiteral("lang/Fuzz.ini"), Fuzz::bytesOf(data, size));

    TAppStrings strings;
    strings.LoadFromFile(file);
    for (qsizetype i = 0; i < qsizetype(TAppStrings::entries().size()); ++i) {
        const QString &text = strings.entry(i);
        FormatAppString(text, QStringLiteral("/v/a%s.mkv"), QStringLiteral("2"));
        QLN_FUZZ_CHECK(WithoutMnemonic(text).size() <= text.size());
    }

    const TLangIniList list = PrepareLangIniList(langDir);
    QLN_FUZZ_CHECK(list.count() <= 1);
    for (const TLangIniListItem &item : list.items())
        QLN_FUZZ_CHECK(!item.DisplayName.isEmpty());
    const qsizetype boxIndex = LanguageBoxIndex(list, QStringLiteral("Fuzz.ini"));
    QLN_FUZZ_CHECK(boxIndex == (list.count() > 0 ? 0 : -1));

    // Saved and read back into a fresh catalogue: every text as it was, with
    // line breaks (which a language file cannot hold) as blanks.
    const QString saved = Fuzz::writeScratchFile(
        QStringLiteral("lang/Saved.ini"), strings.toLanguageFile(QStringLiteral("Native")));
    TAppStrings reread;
    reread.LoadFromFile(saved);
    QFile::remove(saved);
    QLN_FUZZ_CHECK(reread.LanguageName == oneLine(strings.LanguageName));
    for (qsizetype i = 0; i < qsizetype(TAppStrings::entries().size()); ++i)
        QLN_FUZZ_CHECK(reread.entry(i) == oneLine(strings.entry(i)));
    return 0;
}
