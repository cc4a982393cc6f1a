#include "encoding/SessionStart.h"
#include "encoding/SettingsDefaults.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using TestSupport::WriteFile;

namespace {

constexpr int German = 7; // the desktop's primary language id
constexpr int Xvid = 0;

class SessionStartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // A portable layout: settings, languages and profiles beside the program.
        ASSERT_TRUE(QDir().mkpath(path(u"data"_s)));
        ASSERT_TRUE(WriteFile(path(u"lang/German.ini"_s),
            "[INFO]\nLangName_InEnglish=German\nLangName_Native=Deutsch\n"
            "[MAIN]\nactExit=Beenden\n"));
        ASSERT_TRUE(WriteFile(path(u"lang/French.ini"_s),
            "[INFO]\nLangName_InEnglish=French\nLangName_Native=Français\n"
            "[MAIN]\nactExit=Quitter\n"));
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(SessionStartTest, FirstRunThenTheSettingsFileAndTheLastSessionProfile)
{
    // A first run speaks the desktop's language and starts from the
    // built-in settings, with a profiles folder to save them in.
    SessionStart first = StartSession(m_dir.path(), German, Xvid);
    EXPECT_EQ(first.params.LanguageIni, u"German.ini"_s);
    EXPECT_EQ(first.strings.Main.actExit, u"Beenden"_s);
    EXPECT_TRUE(QFileInfo(first.params.ProfilesDir).isDir());
    EXPECT_EQ(first.settings.cbAviVideoBitrate,
        DefaultEncodingSettings(first.strings, Xvid).cbAviVideoBitrate);
    EXPECT_FALSE(first.sizeStored);
    EXPECT_TRUE(first.settingsError.isEmpty());

    // Later runs: the settings file's language, whatever the desktop's,
    // and the last session's profile over the built-in settings.
    ASSERT_TRUE(
        WriteFile(path(u"quillon.ini"_s), "[MAIN]\nLanguageIni=French.ini\nLeft=10\nWidth=900\n"));
    ASSERT_TRUE(WriteFile(first.params.LastProfileFile, "[AVI]\nVideoBitrate=1234\n"));
    const SessionStart later = StartSession(m_dir.path(), German, Xvid);
    EXPECT_EQ(later.params.LanguageIni, u"French.ini"_s);
    EXPECT_EQ(later.strings.Main.actExit, u"Quitter"_s);
    EXPECT_EQ(later.settings.cbAviVideoBitrate, u"1234"_s);
    EXPECT_TRUE(later.sizeStored);
}

TEST_F(SessionStartTest, UnreadableSettingsFileIsReportedAndLeftAlone)
{
    ASSERT_TRUE(QDir().mkpath(path(u"quillon.ini"_s))); // exists, cannot be read as a file
    const SessionStart start = StartSession(m_dir.path(), German, Xvid);
    EXPECT_FALSE(start.settingsError.isEmpty());
    EXPECT_EQ(start.strings.Main.actExit, u"Beenden"_s); // as on a first run
    EXPECT_TRUE(QFileInfo(path(u"quillon.ini"_s)).isDir());
}
