#include "app/IniFile.h"
#include "app/TextHelpers.h"
#include "i18n/AppStrings.h"
#include "i18n/FFmpegMissing.h"
#include "i18n/I18nTestSupport.h"
#include "i18n/LangIniList.h"
#include "i18n/LanguageStartup.h"
#include "support/TestSupport.h"

#include <QDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

// Every translation in lang/ must hold exactly the keys of English.ini, which
// the catalogue generates (EnglishIniTest.cpp). After a key is added to the
// catalogue, this test names it for each translation that lacks it: add the
// translated line to that file, in the same section.

namespace {

const QString kLangDir = QStringLiteral(QLN_SOURCE_DIR "/lang");

struct Shipped
{
    QLocale::Language language;
    const char *inEnglish;
    const char *native;
    // The end-of-run notification for 7 files converted and 2 failed: the
    // placeholders come in a fixed order, whatever the sentence's.
    const char *finished;
};
// The file of each is the one a first run picks for that system language.
const Shipped kShipped[] = {
    {QLocale::German, "German", "Deutsch", "Konvertierte Dateien: 7, fehlgeschlagen: 2"},
    {QLocale::French, "French", "Français", "Fichiers convertis\u00a0: 7, en échec\u00a0: 2"},
    {QLocale::Spanish, "Spanish", "Español", "Archivos convertidos: 7, con errores: 2"},
    {QLocale::Polish, "Polish", "Polski", "Przekonwertowane pliki: 7, nieudane: 2"},
    {QLocale::Portuguese, "Portuguese (Brazil)", "Português (Brasil)",
        "Arquivos convertidos: 7, com falha: 2"},
    {QLocale::Russian, "Russian", "Русский", "Сконвертировано файлов: 7, с ошибкой: 2"},
};

// What a translated text must keep in number: the placeholders and escapes
// FormatAppString fills in, and "&", which would make the next letter an
// accelerator.
const char16_t *const kKeptSequences[] = {u"%s", u"\\n", u"\\t", u"&"};

// How a translation differs from English.ini, one line per fault.
QStringList translationFaults(const IniFile &english, const IniFile &translation)
{
    QStringList faults;
    for (const QString &section : english.sections()) {
        for (const QString &key : english.keys(section)) {
            const QString where = u'[' + section + u"] "_s + key;
            if (!translation.hasKey(section, key)) {
                faults << u"lacks "_s + where;
                continue;
            }
            const QString en = english.readString(section, key);
            const QString text = translation.readString(section, key);
            // Empty in English means no caption (an icon button); a translated
            // caption left empty is a line forgotten.
            if (text.isEmpty() != en.isEmpty())
                faults << where + (en.isEmpty() ? u" is not empty"_s : u" is empty"_s);
            for (const QStringView sequence : kKeptSequences)
                if (text.count(sequence) != en.count(sequence))
                    faults << where + u" has "_s + QString::number(text.count(sequence)) + u" \""_s
                            + sequence.toString() + u"\", English "_s
                            + QString::number(en.count(sequence));
        }
    }
    for (const QString &section : translation.sections()) {
        if (!english.hasSection(section)) {
            faults << u"holds unknown section ["_s + section + u']';
            continue;
        }
        QStringList seen;
        for (const QString &key : translation.keys(section)) {
            if (!english.hasKey(section, key))
                faults << u"holds unknown ["_s + section + u"] "_s + key;
            else if (seen.contains(key, Qt::CaseInsensitive))
                faults << u"holds ["_s + section + u"] "_s + key + u" twice"_s;
            seen << key;
        }
    }
    return faults;
}

} // namespace

TEST(ShippedTranslations, HoldTheKeysPlaceholdersAndEscapesOfEnglish)
{
    IniFile english(kLangDir + u"/English.ini"_s);
    ASSERT_TRUE(english.load());
    QStringList files = QDir(kLangDir).entryList({u"*.ini"_s}, QDir::Files, QDir::Name);
    files.removeAll(u"English.ini"_s);
    for (const Shipped &shipped : kShipped)
        EXPECT_TRUE(
            files.contains(LanguageFileForPrimaryLanguage(PrimaryLanguageId(shipped.language))))
            << shipped.inEnglish;

    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        const QString path = kLangDir + u'/' + file;
        // Without the mark the loader would read the file in the system's
        // 8-bit code page.
        EXPECT_TRUE(TestSupport::ReadFile(path).startsWith("\xEF\xBB\xBF"));
        IniFile translation(path);
        ASSERT_TRUE(translation.load());
        const QStringList faults = translationFaults(english, translation);
        EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
    }
}

TEST(ShippedTranslations, AreOfferedByNativeNameAndLoad)
{
    const TLangIniList list = PrepareLangIniList(kLangDir);
    for (const Shipped &shipped : kShipped) {
        SCOPED_TRACE(shipped.inEnglish);
        const QString native = QString::fromUtf8(shipped.native);
        const TLangIniListItem *item = list.GetItemByShortFileName(
            LanguageFileForPrimaryLanguage(PrimaryLanguageId(shipped.language)));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->DisplayName, QString::fromLatin1(shipped.inEnglish));
        EXPECT_EQ(item->LangName_Native, native);

        TAppStrings strings;
        ASSERT_EQ(SelectLanguageByNativeName(list, native, strings), item);
        EXPECT_EQ(strings.LanguageName, QString::fromLatin1(shipped.inEnglish));
        EXPECT_NE(strings.Main.actConvert, TAppStrings().Main.actConvert);
        EXPECT_EQ(FormatAppString(strings.Main.NotifyFinishedText, u"7"_s, u"2"_s),
            QString::fromUtf8(shipped.finished));
        // Linux advice: the package to install and the key that sets the path.
        const QString missing = FFmpegMissingText(strings);
        EXPECT_TRUE(missing.contains(u"apt install ffmpeg") && missing.contains(u"quillon.ini")
            && !missing.contains(u"EXE"))
            << missing.toStdString();
        // Typed values are told from the automatic choice by this word, and
        // profiles store it as empty: it must never read as a value.
        const QString &autoWord = strings.Main.Auto;
        EXPECT_FALSE(IsValidInt(autoWord.trimmed())) << autoWord.toStdString();
        EXPECT_TRUE(std::isnan(ParseFloatLenient(autoWord.trimmed(), std::nan(""))));
        EXPECT_FALSE(ParseAspectText(autoWord)) << autoWord.toStdString();
    }
}
