#include "i18n/AppStrings.h"
#include "i18n/FFmpegMissing.h"
#include "i18n/I18nTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const char *const kFFmpegNotExists
    = "Could not find FFmpeg!\\n\\n%s converts with the ffmpeg program. Install your "
      "distribution's ffmpeg package (on Debian and Ubuntu: sudo apt install ffmpeg) and try "
      "again.\\n\\nTo use another FFmpeg, give its path in the ffmpeg key of the [MAIN] section "
      "of quillon.ini.";

} // namespace

TEST(AppStrings, EntriesPerModule)
{
    const struct
    {
        const char *module;
        qsizetype count;
        size_t recordSize;
    } cases[] = {
        {"Main", 214, sizeof(TMainModuleStrings)},
        {"Errors", 12, sizeof(TErrorsModuleStrings)},
        {"FileInfo", 58, sizeof(TFileInfoModuleStrings)},
        {"Options", 25, sizeof(TOptionsModuleStrings)},
        {"Progress", 28, sizeof(TProgressModuleStrings)},
        {"About", 7, sizeof(TAboutModuleStrings)},
        {"ToolsInfo", 2, sizeof(TToolsInfoModuleStrings)},
        {"CheckUpdate", 13, sizeof(TCheckUpdateModuleStrings)},
    };
    qsizetype total = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.module);
        EXPECT_EQ(TAppStrings::entryCount(QString::fromLatin1(c.module)), c.count);
        // The record holds exactly its table rows, nothing hand-added.
        EXPECT_EQ(c.recordSize, size_t(c.count) * sizeof(QString));
        total += c.count;
    }
    EXPECT_EQ(total, 359);
    EXPECT_EQ(qsizetype(TAppStrings::entries().size()), 359);
    EXPECT_EQ(TAppStrings::entryCount(u"Nope"), 0);
    // The module entries and LanguageName.
    EXPECT_EQ(sizeof(TAppStrings), (359 + 1) * sizeof(QString));
}

TEST(AppStrings, LookupByName)
{
    TAppStrings strings;
    for (const TAppStrings::EntryInfo &info : TAppStrings::entries())
        EXPECT_NE(strings.find(info.name()), nullptr) << info.name().toStdString();
    EXPECT_EQ(strings.find(u"Main.actConvert"), &strings.Main.actConvert);
    EXPECT_EQ(strings.find(u"CheckUpdate.CannotCheck"), &strings.CheckUpdate.CannotCheck);
    EXPECT_EQ(strings.find(u"Errors.actClose"), &strings.Errors.actClose);
    EXPECT_EQ(strings.find(u"LanguageName"), &strings.LanguageName);
    EXPECT_EQ(strings.find(u"main.actConvert"), nullptr);
    EXPECT_EQ(strings.find(u"Main.Nope"), nullptr);
    EXPECT_EQ(strings.find(u"actConvert"), nullptr);
    EXPECT_EQ(&strings.entry(0), &strings.Main.Auto);
}

TEST(AppStrings, EnglishTexts)
{
    const TAppStrings strings;
    const struct
    {
        const char *name;
        const char *text;
    } cases[] = {
        {"Main.Auto", "Auto"},
        {"Main.actLoadSelectedProfile", "<-- L&oad"},
        {"Main.actExploreDirectory", "O&pen directory \"%s\""},
        {"Main.btnStayOnTop", ""},
        {"Main.CantCreateDirectory", "Couldn't create directory \"%s\" !"},
        {"Main.VideoBitrateMustBeInteger", "Video bitrate: %s\\nBitrate must be an integer value!"},
        {"Main.FFmpegNotExists", kFFmpegNotExists},
        {"Main.chKeepDates", "&Keep the dates of the original files"},
        {"Main.KeepDates",
            "Keeps the creation, last write and the last access time of the original files"},
        {"Main.DeleteUnfinished",
            "The conversion has been aborted.\\n\\nDo you want to delete a "
            "partially converted file:\\n\\n%s"},
        {"Main.colVideoFPS", "Frames/sec."},
        {"Main.OutputDir", "Output directory"},
        {"Main.CannotDeleteFile", "Cannot delete file:\\n\\n%s"},
        {"Errors.dlgSaveLogFilter", "Log file"},
        {"FileInfo.lblBitsPerPixel", "Bits per pixel:"},
        {"FileInfo.Report_Info", "%s - Video file information report"},
        {"FileInfo.ScanType_Progressive", "progressive"},
        {"Options.chShortcutStartMenu", "In the Start Menu"},
        {"Options.FileAnalysis_None", "None"},
        {"Progress.chHideEncoderOutput", "&Don't show encoder output"},
        {"Progress.chCloseAfterConversion", "&Close after conversion"},
        {"About.Donation", "DONATION"},
        {"ToolsInfo.actClose", "C&lose"},
        {"CheckUpdate.CannotCheck",
            "Unable to retrieve version information.\\nPlease try again in a few minutes."},
        {"LanguageName", "English"},
    };
    for (const auto &c : cases) {
        const QString *text = strings.find(QString::fromLatin1(c.name));
        ASSERT_NE(text, nullptr) << c.name;
        EXPECT_EQ(*text, QString::fromLatin1(c.text)) << c.name;
    }
}

TEST(AppStrings, SetENRestoresEveryEntry)
{
    TAppStrings strings;
    const TAppStrings english;
    for (qsizetype i = 0; i < qsizetype(TAppStrings::entries().size()); ++i)
        strings.entry(i) = QStringLiteral("x");
    strings.LanguageName = QStringLiteral("Deutsch");
    strings.SetEN();
    for (qsizetype i = 0; i < qsizetype(TAppStrings::entries().size()); ++i)
        EXPECT_EQ(strings.entry(i), english.entry(i))
            << qPrintable(TAppStrings::entries()[i].name());
    EXPECT_EQ(strings.LanguageName, u"English"_s);
}

TEST(FormatAppString, EscapesAndPlaceholders)
{
    const struct
    {
        const char *text, *s1, *s2, *expected;
    } cases[] = {
        {"Video bitrate: %s\\nBitrate must be an integer value!", "12a", "",
            "Video bitrate: 12a\r\nBitrate must be an integer value!"},
        {"a\\tb\\n\\nc", "x", "y", "a\tb\r\n\r\nc"},
        {"no placeholders", "x", "y", "no placeholders"},
        {"%s and %s and %s", "1", "2", "1 and 2 and %s"},
        // Values are inserted as they are: a "%s" in a file name is no
        // placeholder.
        {"[%s] [%s]", "a%sb", "X", "[a%sb] [X]"},
        {"Cannot delete file:\\n\\n%s", "/v/%s%1.avi", "",
            "Cannot delete file:\r\n\r\n/v/%s%1.avi"},
        {"%s-%s", "only", "", "only-"},
        {"%s", "", "", ""},
        // Escapes are turned before filling: values are never reinterpreted.
        {"%s", "C:\\new\\temp", "", "C:\\new\\temp"},
        {"100%% %d %s", "x", "", "100%% %d x"},
        {"", "x", "y", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatAppString(
                      QString::fromUtf8(c.text), QString::fromUtf8(c.s1), QString::fromUtf8(c.s2)),
            QString::fromUtf8(c.expected))
            << c.text;
}

TEST(FFmpegMissing, TextNamesTheProgramAndHowToInstallFFmpeg)
{
    const TAppStrings strings;
    EXPECT_EQ(FFmpegMissingText(strings),
        "Could not find FFmpeg!\r\n\r\nQuillon converts with the ffmpeg program. Install your "
        "distribution's ffmpeg package (on Debian and Ubuntu: sudo apt install ffmpeg) and try "
        "again.\r\n\r\nTo use another FFmpeg, give its path in the ffmpeg key of the [MAIN] "
        "section of quillon.ini.");

    TAppStrings translated;
    translated.Main.FFmpegNotExists = QStringLiteral("%s fehlt\\n!");
    EXPECT_EQ(FFmpegMissingText(translated), "Quillon fehlt\r\n!");
}
