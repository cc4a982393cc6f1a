#include "i18n/LanguageStartup.h"
#include "app/IniFile.h"
#include "i18n/AppStrings.h"
#include "i18n/I18nTestSupport.h"
#include "i18n/LangIniList.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using TestSupport::WriteFile;

namespace {

IniFile Settings(const char *text)
{
    IniFile ini;
    ini.loadFromBytes(QByteArray(text));
    return ini;
}

class LanguageStartup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        add(u"German.ini"_s, "German", "Deutsch", "Beenden");
        add(u"Portuguese_BR.ini"_s, "Portuguese", "Português", "Sair");
        add(u"Chinese_Simplified.ini"_s, "Chinese", "中文", "退出");
        add(u"French.ini"_s, "French", "Français", "Quitter");
        // A complete-looking translation that lacks the exit command.
        ASSERT_TRUE(WriteFile(m_dir.filePath(u"Partial.ini"_s),
            "[INFO]\nLangName_InEnglish=Partial\nLangName_Native=Partiell\n"
            "[MAIN]\nactConvert=Konvertieren\n"));
    }
    void add(const QString &name, const char *english, const char *native, const char *exit)
    {
        ASSERT_TRUE(WriteFile(m_dir.filePath(name),
            QByteArray("[INFO]\nLangName_InEnglish=") + english + "\nLangName_Native=" + native
                + "\n[MAIN]\nactExit=" + exit + "\n"));
    }
    QString langDir() const { return m_dir.path(); }

    QTemporaryDir m_dir;
};

} // namespace

TEST(PrimaryLanguage, SystemLanguagesChooseTheirFile)
{
    const struct
    {
        const char *locale;
        const char *file;
    } cases[] = {
        {"pt_BR", "Portuguese_BR.ini"},
        {"pt_PT", "Portuguese_BR.ini"},
        {"zh_CN", "Chinese_Simplified.ini"},
        {"zh_TW", "Chinese_Simplified.ini"},
        {"zh_HK", "Chinese_Simplified.ini"},
        {"de_AT", "German.ini"},
        {"nb_NO", "Norwegian.ini"},
        {"nn_NO", "Norwegian.ini"},
        {"sr_RS", "Croatian.ini"},
        {"hr_HR", "Croatian.ini"},
        {"uk_UA", "Ukrainian.ini"},
        {"vi_VN", "Vietnamese.ini"},
        {"ar_EG", "Arabic.ini"},
        {"lt_LT", "Lithuanian.ini"},
        {"ca_ES", "English.ini"},
        {"en_US", "English.ini"},
        {"id_ID", "English.ini"},
        {"C", "English.ini"},
    };
    for (const auto &c : cases) {
        const QLocale locale(QString::fromLatin1(c.locale));
        EXPECT_EQ(LanguageFileForPrimaryLanguage(PrimaryLanguageId(locale.language())),
            QString::fromLatin1(c.file))
            << c.locale;
    }
    EXPECT_EQ(PrimaryLanguageId(QLocale::Catalan), 3);
    EXPECT_EQ(PrimaryLanguageId(QLocale::Portuguese), 22);
    EXPECT_EQ(LanguageFileForPrimaryLanguage(0), u"English.ini"_s);
    EXPECT_EQ(LanguageFileForPrimaryLanguage(42), u"Vietnamese.ini"_s);
    EXPECT_EQ(LanguageFileForPrimaryLanguage(1024 + 7), u"English.ini"_s);
}

TEST_F(LanguageStartup, FirstRunFollowsTheSystemLanguage)
{
    // The settings file does not count on a first run.
    const IniFile settings = Settings("[MAIN]\nLanguageIni=French.ini\n");
    const struct
    {
        QLocale::Language language;
        const char *languageIni;
        const char *exit;
        const char *languageName;
    } cases[] = {
        {QLocale::Portuguese, "Portuguese_BR.ini", "Sair", "Portuguese"},
        {QLocale::Chinese, "Chinese_Simplified.ini", "退出", "Chinese"},
        {QLocale::German, "German.ini", "Beenden", "German"},
        // No Catalan file is looked for; English.ini does not exist here.
        {QLocale::Catalan, "", "&Exit", "English"},
        // Czech.ini is the choice, but it is missing.
        {QLocale::Czech, "", "&Exit", "English"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.languageIni);
        TAppStrings strings;
        const QString chosen
            = InitLang(true, settings, langDir(), PrimaryLanguageId(c.language), strings);
        EXPECT_EQ(chosen, QString::fromUtf8(c.languageIni));
        EXPECT_EQ(strings.Main.actExit, QString::fromUtf8(c.exit));
        EXPECT_EQ(strings.LanguageName, QString::fromUtf8(c.languageName));
    }
}

TEST_F(LanguageStartup, LaterRunsLoadTheSettingsLanguage)
{
    const struct
    {
        const char *settings;
        const char *languageIni;
        const char *exit;
    } cases[] = {
        {"[MAIN]\nLanguageIni=French.ini\n", "French.ini", "Quitter"},
        {"[main]\nlanguageini =  German.ini \n", "German.ini", "Beenden"},
        {"[MAIN]\nLanguageIni=Missing.ini\n", "Missing.ini", "&Exit"},
        {"[MAIN]\nLanguageIni=\n", "", "&Exit"},
        {"", "", "&Exit"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.settings);
        TAppStrings strings;
        strings.Main.actExit = u"left over"_s;
        // The system language does not count once settings exist.
        const QString chosen = InitLang(
            false, Settings(c.settings), langDir(), PrimaryLanguageId(QLocale::German), strings);
        EXPECT_EQ(chosen, QString::fromUtf8(c.languageIni));
        EXPECT_EQ(strings.Main.actExit, QString::fromUtf8(c.exit));
    }
}

TEST_F(LanguageStartup, SettingsReaderReloadsOverEnglish)
{
    TAppStrings strings;
    ASSERT_EQ(InitLang(true, IniFile(), langDir(), 7, strings), u"German.ini"_s);

    // Without the key the start-up choice stays and is loaded again.
    EXPECT_EQ(
        LoadLanguageFromSettings(Settings("[MAIN]\nLeft=0\n"), u"German.ini"_s, langDir(), strings),
        u"German.ini"_s);
    EXPECT_EQ(strings.Main.actExit, u"Beenden"_s);

    // A file lacking a key shows English there, not the previous language.
    EXPECT_EQ(LoadLanguageFromSettings(Settings("[MAIN]\nLanguageIni=Partial.ini\n"),
                  u"German.ini"_s, langDir(), strings),
        u"Partial.ini"_s);
    EXPECT_EQ(strings.Main.actExit, u"&Exit"_s);
    EXPECT_EQ(strings.Main.actConvert, u"Konvertieren"_s);

    // A present but empty key leaves the interface English.
    EXPECT_EQ(LoadLanguageFromSettings(
                  Settings("[MAIN]\nLanguageIni=\n"), u"Partial.ini"_s, langDir(), strings),
        u""_s);
    EXPECT_EQ(strings.Main.actConvert, u"&Convert checked files"_s);
    EXPECT_EQ(strings.LanguageName, u"English"_s);
}

TEST_F(LanguageStartup, ChoosingByNativeName)
{
    const TLangIniList list = PrepareLangIniList(langDir());
    TAppStrings strings;
    const TLangIniListItem *item = SelectLanguageByNativeName(list, u"Deutsch", strings);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->LangName_InEnglish, u"German"_s);
    EXPECT_EQ(strings.Main.actExit, u"Beenden"_s);

    EXPECT_NE(SelectLanguageByNativeName(list, u"partiell", strings), nullptr);
    EXPECT_EQ(strings.Main.actExit, u"&Exit"_s);
    EXPECT_EQ(strings.Main.actConvert, u"Konvertieren"_s);

    EXPECT_EQ(SelectLanguageByNativeName(list, u"Klingon", strings), nullptr);
    EXPECT_EQ(strings.Main.actConvert, u"Konvertieren"_s);
}
