#include "i18n/LangIniList.h"
#include "i18n/I18nTestSupport.h"
#include "i18n/LanguageStartup.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using TestSupport::WriteFile;

namespace {

class LangIniList : public ::testing::Test
{
protected:
    void add(const QString &name, const char *text)
    {
        ASSERT_TRUE(WriteFile(m_dir.filePath(name), QByteArray(text)));
    }
    QStringList shortNames(const TLangIniList &list) const
    {
        QStringList names;
        for (const TLangIniListItem &item : list.items())
            names << QDir(m_dir.path()).relativeFilePath(item.FileName);
        return names;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(LangIniList, ListsUsableFilesByName)
{
    add(u"Polish.ini"_s, "[INFO]\nLangName_InEnglish=Polish\nLangName_Native=Polski\n");
    add(u"czech.INI"_s, "[info]\nlangname_inenglish = Czech \nLangName_Native=Čeština\n");
    add(u"English.ini"_s, "[INFO]\nLangName_InEnglish=English\n");
    add(u"NoName.ini"_s, "[INFO]\nLangName_Native=Nameless\n[MAIN]\nactExit=x\n");
    add(u"EmptyName.ini"_s, "[INFO]\nLangName_InEnglish=   \n");
    add(u"OtherSection.ini"_s, "[MAIN]\nLangName_InEnglish=Misplaced\n");
    add(u"German.txt"_s, "[INFO]\nLangName_InEnglish=German\n");
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(u"Folder.ini"_s));
    add(u"Folder.ini/Inner.ini"_s, "[INFO]\nLangName_InEnglish=Inner\n");

    const TLangIniList list = PrepareLangIniList(m_dir.path());
    EXPECT_EQ(shortNames(list), (QStringList{u"czech.INI"_s, u"English.ini"_s, u"Polish.ini"_s}));

    const TLangIniListItem *czech = list.GetItem(0);
    ASSERT_NE(czech, nullptr);
    EXPECT_EQ(czech->FileName, QDir(m_dir.path()).absoluteFilePath(u"czech.INI"_s));
    EXPECT_EQ(czech->DisplayName, u"Czech"_s);
    EXPECT_EQ(czech->LangName_InEnglish, u"Czech"_s);
    EXPECT_EQ(czech->LangName_Native, u"Čeština"_s);
    EXPECT_EQ(list.GetItem(1)->LangName_Native, u""_s);
    EXPECT_EQ(list.GetItem(3), nullptr);
    EXPECT_EQ(list.GetItem(-1), nullptr);
}

TEST_F(LangIniList, ExtensionMayCarryADotAndDisplayNameIsConfigurable)
{
    add(u"a.lng"_s, "[INFO]\nLangName_Native=Deutsch\n");
    add(u"b.lng"_s, "[INFO]\nLangName_InEnglish=French\nLangName_Native=Français\n");
    TLangIniList list;
    list.DisplayNameID = u"LangName_Native"_s;
    list.AddIniFilesFromDir(m_dir.path(), u".lng"_s);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.GetItem(0)->DisplayName, u"Deutsch"_s);
    EXPECT_EQ(list.GetItem(0)->LangName_InEnglish, u""_s);
    EXPECT_EQ(list.GetItem(1)->DisplayName, u"Français"_s);
}

TEST_F(LangIniList, MissingFolderGivesAnEmptyList)
{
    EXPECT_EQ(PrepareLangIniList(m_dir.filePath(u"nope"_s)).count(), 0);
    EXPECT_EQ(PrepareLangIniList(QString()).count(), 0);
    const TLangIniList empty;
    EXPECT_EQ(empty.GetItemByNativeName(u"English"), nullptr);
    EXPECT_EQ(LanguageBoxIndex(empty, u""), -1);
}

TEST_F(LangIniList, LookupsTrimAndIgnoreCase)
{
    // Both name the same native language; the first by file name wins.
    add(u"B_German.ini"_s, "[INFO]\nLangName_InEnglish=German (B)\nLangName_Native=Deutsch\n");
    add(u"A_German.ini"_s, "[INFO]\nLangName_InEnglish=German (A)\nLangName_Native=Deutsch\n");
    add(u"Czech.ini"_s, "[INFO]\nLangName_InEnglish=Czech\nLangName_Native=Čeština\n");
    const TLangIniList list = PrepareLangIniList(m_dir.path());
    ASSERT_EQ(list.count(), 3);

    const struct
    {
        const char16_t *native;
        const char16_t *expectedEnglish; // nullptr: no item
    } byNative[] = {
        {u"Deutsch", u"German (A)"},
        {u"  DEUTSCH ", u"German (A)"},
        {u"čEŠTINA", u"Czech"},
        {u"Deutsc", nullptr},
        {u"", nullptr},
    };
    for (const auto &c : byNative) {
        const TLangIniListItem *item = list.GetItemByNativeName(c.native);
        if (!c.expectedEnglish) {
            EXPECT_EQ(item, nullptr) << QStringView(c.native).toString().toStdString();
            continue;
        }
        ASSERT_NE(item, nullptr) << QStringView(c.native).toString().toStdString();
        EXPECT_EQ(item->LangName_InEnglish, QStringView(c.expectedEnglish).toString());
    }

    EXPECT_EQ(list.GetItemByShortFileName(u" czech.INI ")->LangName_InEnglish, u"Czech"_s);
    EXPECT_EQ(list.GetItemByShortFileName(u"b_german.ini")->LangName_InEnglish, u"German (B)"_s);
    EXPECT_EQ(list.GetItemByShortFileName(u"Czech"), nullptr);
    EXPECT_EQ(list.GetItemByShortFileName(m_dir.filePath(u"Czech.ini"_s)), nullptr);

    // The options box selects the current file, else its first entry.
    EXPECT_EQ(LanguageBoxIndex(list, u"czech.ini"), 2);
    EXPECT_EQ(LanguageBoxIndex(list, u""), 0);
    EXPECT_EQ(LanguageBoxIndex(list, u"Missing.ini"), 0);
}
