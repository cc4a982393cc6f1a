#include "app/IniFile.h"
#include "i18n/AppStrings.h"
#include "i18n/I18nTestSupport.h"
#include "i18n/LangIniList.h"
#include "i18n/LanguageStartup.h"
#include "support/TestSupport.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

// The shipped English.ini is generated from the catalogue's table. Run this
// program with QLN_WRITE_ENGLISH_INI=1 to write it again after changing the
// table.

namespace {

const QString kLangDir = QStringLiteral(QLN_SOURCE_DIR "/lang");
const QString kEnglishIni = QStringLiteral(QLN_SOURCE_DIR "/lang/English.ini");

QByteArray expectedFile()
{
    return TAppStrings().toLanguageFile(u"English"_s);
}

class EnglishIni : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (qEnvironmentVariableIsSet("QLN_WRITE_ENGLISH_INI")) {
            ASSERT_TRUE(TestSupport::WriteFile(kEnglishIni, expectedFile()));
        }
    }
};

} // namespace

TEST_F(EnglishIni, ShippedFileIsTheTableWrittenOut)
{
    const QByteArray shipped = TestSupport::ReadFile(kEnglishIni);
    ASSERT_FALSE(shipped.isEmpty()) << "missing " << kEnglishIni.toStdString();
    EXPECT_TRUE(shipped.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(shipped == expectedFile())
        << "lang/English.ini differs from the catalogue; run with QLN_WRITE_ENGLISH_INI=1";
}

TEST_F(EnglishIni, LoadingItGivesEveryEnglishText)
{
    const TAppStrings english;
    TAppStrings strings;
    for (qsizetype i = 0; i < qsizetype(TAppStrings::entries().size()); ++i)
        strings.entry(i) = u"\x01 unset"_s;
    strings.LanguageName.clear();
    strings.LoadFromFile(kEnglishIni);
    for (qsizetype i = 0; i < qsizetype(TAppStrings::entries().size()); ++i)
        EXPECT_EQ(strings.entry(i), english.entry(i))
            << TAppStrings::entries()[i].name().toStdString();
    EXPECT_EQ(strings.LanguageName, u"English"_s);
}

TEST_F(EnglishIni, HoldsExactlyTheKeysALanguageFileUses)
{
    IniFile ini(kEnglishIni);
    ASSERT_TRUE(ini.load());
    QMap<QString, QSet<QString>> expected;
    expected[u"INFO"_s] = {u"LangName_InEnglish"_s, u"LangName_Native"_s};
    for (const TAppStrings::EntryInfo &info : TAppStrings::entries())
        if (!info.fileKey.isEmpty())
            expected[info.section].insert(info.fileKey);
    const QStringList sections = ini.sections();
    const QStringList expectedSections = expected.keys();
    EXPECT_EQ(QSet<QString>(sections.begin(), sections.end()),
        QSet<QString>(expectedSections.begin(), expectedSections.end()));
    EXPECT_EQ(sections.size(), expectedSections.size());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QStringList keys = ini.keys(it.key());
        EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()), it.value()) << it.key().toStdString();
        EXPECT_EQ(keys.size(), it.value().size()) << "duplicate keys in " << it.key().toStdString();
    }
    EXPECT_TRUE(ini.hasKey(u"MAIN"_s, u"chKeepFileDates"_s));
    EXPECT_FALSE(ini.hasKey(u"MAIN"_s, u"chKeepDates"_s));
    EXPECT_FALSE(ini.hasKey(u"ToolsInfo"_s, u"actClose"_s));
    EXPECT_FALSE(ini.hasKey(u"CheckUpdate"_s, u"actClose"_s));
}

TEST_F(EnglishIni, IsOfferedInTheLanguageList)
{
    const TLangIniList list = PrepareLangIniList(kLangDir);
    const TLangIniListItem *item = list.GetItemByShortFileName(u"English.ini");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->DisplayName, u"English"_s);
    EXPECT_EQ(item->LangName_Native, u"English"_s);
}
