#include "i18n/AppStrings.h"
#include "i18n/I18nTestSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

using TestSupport::WriteFile;

namespace {

class LanguageFile : public ::testing::Test
{
protected:
    QString write(const QString &name, const QByteArray &bytes)
    {
        QString path = m_dir.filePath(name);
        EXPECT_TRUE(WriteFile(path, bytes));
        return path;
    }
    QString writeText(const QString &name, const char *utf8Text)
    {
        return write(name, QByteArray(utf8Text));
    }
    TAppStrings loaded(const char *utf8Text)
    {
        TAppStrings strings;
        strings.LoadFromFile(writeText(QStringLiteral("lang.ini"), utf8Text));
        return strings;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(LanguageFile, LinesAreTrimmedAndCommentsSkipped)
{
    const TAppStrings s = loaded("[INFO]\n"
                                 "LangName_InEnglish = German\n"
                                 "\n"
                                 "  [ MAIN ]  \n"
                                 "   actConvert   =   Markierte Dateien konvertieren   \r\n"
                                 "  ;actExit=Beenden\n"
                                 ";[Errors]\n"
                                 "actAbout=Über...\n");
    EXPECT_EQ(s.Main.actConvert, u"Markierte Dateien konvertieren"_s);
    EXPECT_EQ(s.Main.actExit, u"&Exit"_s);
    EXPECT_EQ(s.Main.actAbout, u"Über..."_s);
    EXPECT_EQ(s.LanguageName, u"German"_s);
}

TEST_F(LanguageFile, SectionsAndKeysIgnoreCase)
{
    const TAppStrings s = loaded("[info]\nlangname_inenglish=Czech\n"
                                 "[main]\nACTEXIT=Konec\n"
                                 "[fileinfo]\ncaption=Vlastnosti\n"
                                 "[CHECKUPDATE]\nCheckNow=Zkontrolovat\n");
    EXPECT_EQ(s.Main.actExit, u"Konec"_s);
    EXPECT_EQ(s.FileInfo.Caption, u"Vlastnosti"_s);
    EXPECT_EQ(s.CheckUpdate.CheckNow, u"Zkontrolovat"_s);
    EXPECT_EQ(s.LanguageName, u"Czech"_s);
}

TEST_F(LanguageFile, ValuesAreTakenLiterally)
{
    const TAppStrings s = loaded("[MAIN]\n"
                                 "actExploreDirectory=\"Ordner \"%s\" öffnen\"\n"
                                 "CannotDeleteFile=Datei\\n\\n%s ; nicht gelöscht\n"
                                 "Error=a=b\n");
    EXPECT_EQ(s.Main.actExploreDirectory, u"\"Ordner \"%s\" öffnen\""_s);
    EXPECT_EQ(s.Main.CannotDeleteFile, u"Datei\\n\\n%s ; nicht gelöscht"_s);
    EXPECT_EQ(s.Main.Error, u"a=b"_s);
}

TEST_F(LanguageFile, KeysOutsideTheirSectionAreIgnored)
{
    const TAppStrings s = loaded("actExit=before any section\n"
                                 "[Errors]\nactExit=wrong section\nCaption=Fehler\n"
                                 "[Unknown]\nCaption=nope\n"
                                 "[MAIN]\nCaption=no such entry\n");
    EXPECT_EQ(s.Main.actExit, u"&Exit"_s);
    EXPECT_EQ(s.Errors.Caption, u"Fehler"_s);
    EXPECT_EQ(s.FileInfo.Caption, u"Video file properties"_s);
    EXPECT_EQ(s.Options.Caption, u"Options"_s);
}

TEST_F(LanguageFile, OutputDirLosesItsColons)
{
    EXPECT_EQ(loaded("[MAIN]\nOutputDir=Ausgabe:ordner:\n").Main.OutputDir, u"Ausgabeordner"_s);
    EXPECT_EQ(loaded("[MAIN]\nlblProfile=Profil:\n").Main.lblProfile, u"Profil:"_s);
}

TEST_F(LanguageFile, RenamedKeysForTheKeepDatesEntries)
{
    const TAppStrings s = loaded("[MAIN]\n"
                                 "chKeepFileDates=Datum behalten\n"
                                 "KeepFileDates=Behält die Zeiten\n");
    EXPECT_EQ(s.Main.chKeepDates, u"Datum behalten"_s);
    EXPECT_EQ(s.Main.KeepDates, u"Behält die Zeiten"_s);

    // The field names are not keys of the file.
    const TAppStrings t = loaded("[MAIN]\nchKeepDates=x\nKeepDates=y\n");
    EXPECT_EQ(t.Main.chKeepDates, u"&Keep the dates of the original files"_s);
    EXPECT_EQ(t.Main.KeepDates,
        u"Keeps the creation, last write and the last access time of the original files"_s);
}

TEST_F(LanguageFile, SmallWindowsBorrowTheErrorLogsClose)
{
    const TAppStrings s = loaded("[Errors]\nactClose=Schließen\n"
                                 "[ToolsInfo]\nactClose=ignored\nCaption=Werkzeuge\n"
                                 "[CheckUpdate]\nactClose=ignored\n");
    EXPECT_EQ(s.ToolsInfo.actClose, u"Schließen"_s);
    EXPECT_EQ(s.CheckUpdate.actClose, u"Schließen"_s);
    EXPECT_EQ(s.ToolsInfo.Caption, u"Werkzeuge"_s);
    EXPECT_EQ(s.FileInfo.actClose, u"C&lose"_s);

    // Without Errors.actClose they copy the text it keeps.
    TAppStrings t;
    t.Errors.actClose = QStringLiteral("Zavřít");
    t.LoadFromFile(writeText(QStringLiteral("t.ini"), "[ToolsInfo]\nactClose=ignored\n"));
    EXPECT_EQ(t.ToolsInfo.actClose, u"Zavřít"_s);
    EXPECT_EQ(t.CheckUpdate.actClose, u"Zavřít"_s);
}

TEST_F(LanguageFile, EmptyAndMissingKeys)
{
    TAppStrings s;
    s.Main.actExit = QStringLiteral("previous");
    s.LoadFromFile(writeText(QStringLiteral("e.ini"), "[MAIN]\nactConvert=\nbtnAbout =  \n"));
    EXPECT_EQ(s.Main.actConvert, u""_s);
    EXPECT_EQ(s.Main.btnAbout, u""_s);
    // Missing keys keep whatever the entry held: the caller resets to English.
    EXPECT_EQ(s.Main.actExit, u"previous"_s);
    // Missing INFO name: the catalogue has no English name any more.
    EXPECT_EQ(s.LanguageName, u""_s);
}

TEST_F(LanguageFile, SwitchingTranslationsFallsBackToEnglish)
{
    const QString full = writeText(QStringLiteral("full.ini"),
        "[INFO]\nLangName_InEnglish=German\n"
        "[MAIN]\nactExit=Beenden\nactConvert=Konvertieren\n");
    const QString partial = writeText(QStringLiteral("partial.ini"),
        "[INFO]\nLangName_InEnglish=French\n"
        "[MAIN]\nactConvert=Convertir\n");
    TAppStrings s;
    s.LoadFromFile(full);
    ASSERT_EQ(s.Main.actExit, u"Beenden"_s);
    s.SetEN();
    s.LoadFromFile(partial);
    EXPECT_EQ(s.Main.actExit, u"&Exit"_s);
    EXPECT_EQ(s.Main.actConvert, u"Convertir"_s);
    EXPECT_EQ(s.LanguageName, u"French"_s);
}

TEST_F(LanguageFile, EncodingsByByteOrderMark)
{
    const QString text = QStringLiteral("[INFO]\r\nLangName_InEnglish=Chinese\r\n"
                                        "[MAIN]\r\nactExit=退出 – Čeština\r\n");
    QStringEncoder le(QStringEncoder::Utf16LE);
    QStringEncoder be(QStringEncoder::Utf16BE);
    const struct
    {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"utf8-bom.ini", QByteArray("\xEF\xBB\xBF") + text.toUtf8()},
        {"utf8.ini", text.toUtf8()},
        {"utf16le.ini", QByteArray("\xFF\xFE") + QByteArray(le(text))},
        {"utf16be.ini", QByteArray("\xFE\xFF") + QByteArray(be(text))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TAppStrings s;
        s.LoadFromFile(write(QString::fromLatin1(c.name), c.bytes));
        EXPECT_EQ(s.Main.actExit, u"退出 – Čeština"_s);
        EXPECT_EQ(s.LanguageName, u"Chinese"_s);
    }
}

TEST_F(LanguageFile, NoFileChangesNothing)
{
    TAppStrings s;
    s.Main.actExit = QStringLiteral("kept");
    s.LanguageName = QStringLiteral("kept");
    s.LoadFromFile(m_dir.filePath(QStringLiteral("missing.ini")));
    // An empty language name joined to the folder names the folder itself.
    s.LoadFromFile(m_dir.path() + u'/');
    s.LoadFromFile(QString());
    EXPECT_EQ(s.Main.actExit, u"kept"_s);
    EXPECT_EQ(s.LanguageName, u"kept"_s);
}
