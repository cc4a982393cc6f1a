#include "app/IniFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

using TestSupport::ReadFile;
using TestSupport::WriteFile;

namespace {

IniFile FromText(const char *text)
{
    IniFile ini;
    ini.loadFromBytes(QByteArray(text));
    return ini;
}

} // namespace

TEST(IniFile, SectionsAndKeysMatchWithoutCase)
{
    const IniFile ini = FromText("[Main]\nLanguageIni = German.ini \n[progress]\nWidth=640\n");
    EXPECT_EQ(ini.readString("MAIN", "languageini"), "German.ini");
    EXPECT_EQ(ini.readInteger("PROGRESS", "WIDTH", 0), 640);
    EXPECT_TRUE(ini.hasSection("main"));
    EXPECT_FALSE(ini.hasKey("MAIN", "Width"));
    EXPECT_EQ(ini.readString("MAIN", "Missing", "dflt"), "dflt");
}

TEST(IniFile, ValueKindsAndFallbacks)
{
    const IniFile ini
        = FromText("[A]\nHex=0x1F\nNeg=-12\nText=12a\nZero=0\nOne=7\nEmpty=\nBare0x=0x\n");
    EXPECT_EQ(ini.readInteger("A", "Hex", 5), 31);
    EXPECT_EQ(ini.readInteger("A", "Neg", 5), -12);
    EXPECT_EQ(ini.readInteger("A", "Text", 5), 5);
    EXPECT_EQ(ini.readInteger("A", "Bare0x", 5), 5);
    EXPECT_FALSE(ini.readBool("A", "Zero", true));
    EXPECT_TRUE(ini.readBool("A", "One", false));
    EXPECT_TRUE(ini.readBool("A", "Text", true));
    // Present but empty is the empty string, not the default.
    EXPECT_EQ(ini.readString("A", "Empty", "dflt"), "");
}

TEST(IniFile, FirstSectionAndFirstKeyWin)
{
    const IniFile ini = FromText("[S]\nk=1\nK=2\n[s]\nk=3\nonly=4\n");
    EXPECT_EQ(ini.readString("S", "k"), "1");
    EXPECT_FALSE(ini.hasKey("S", "only"));
}

TEST(IniFile, CommentsAndLinesBeforeAnySectionAreNotKeys)
{
    const IniFile ini = FromText("orphan=1\n[S]\n;k=commented\n  ; also=comment\nk=real\n");
    EXPECT_EQ(ini.readString("S", "k"), "real");
    EXPECT_FALSE(ini.hasKey("S", "also"));
    EXPECT_EQ(ini.keys("S"), QStringList{"k"});
}

TEST(IniFile, ValuesAreCutTo2047Characters)
{
    IniFile ini;
    ini.writeString("S", "Long", QString(5000, u'x'));
    EXPECT_EQ(ini.readString("S", "Long").size(), 2047);
}

TEST(IniFile, WritingReplacesInPlaceAndKeepsEverythingElse)
{
    IniFile ini = FromText("; header comment\r\n[MAIN]\r\nLeft=10\r\n; "
                           "note\r\nUserKey=mine\r\n\r\n[OTHER]\r\nx=1\r\n");
    ini.writeInteger("main", "left", 20);
    ini.writeString("MAIN", "Top", "5");
    ini.writeString("New", "k", "v");
    EXPECT_EQ(QString::fromUtf8(ini.toBytes()),
        "; header comment\n[MAIN]\nLeft=20\n; "
        "note\nUserKey=mine\nTop=5\n\n[OTHER]\nx=1\n[New]\nk=v\n");
    EXPECT_EQ(ini.readString("OTHER", "x"), "1");
    EXPECT_EQ(ini.readString("New", "K"), "v");
}

// Each write keeps the lookups up to date: after every one, the file reads
// as the same text loaded afresh would (the first section of a name wins,
// the lines after an insertion move down).
TEST(IniFile, EveryWriteReadsAsTheFileLoadedAgain)
{
    IniFile ini = FromText("[A]\na=1\n\n[B]\nb=2\n[a]\nlate=3\n[C]\nc=4\n");
    const QStringList sections = {"A", "B", "C", "D", "E"};
    const QStringList keys = {"a", "b", "c", "late", "k0", "k1", "k2", "k3"};
    int step = 0;
    for (const char *write : {"A k0", "C k1", "D k0", "a k1", "B k2", "D k1", "A k2", "E k0",
             "b k3", "A late", "C k3", "d k2"}) {
        const QStringList parts = QString::fromLatin1(write).split(u' ');
        ini.writeInteger(parts[0], parts[1], ++step);
        IniFile reloaded;
        reloaded.loadFromBytes(ini.toBytes());
        for (const QString &section : sections) {
            ASSERT_EQ(ini.keys(section), reloaded.keys(section)) << "after " << write;
            for (const QString &key : keys)
                ASSERT_EQ(ini.readString(section, key, "-"), reloaded.readString(section, key, "-"))
                    << section.toStdString() << "/" << key.toStdString() << " after " << write;
        }
    }
    EXPECT_EQ(ini.readString("A", "late"), "10");
    EXPECT_EQ(ini.readString("d", "K2"), "12");
}

TEST(IniFile, LineBreaksInValuesCannotCreateKeys)
{
    IniFile ini;
    ini.writeString("S", "a", "one\n[Evil]\nb=2");
    IniFile reread;
    reread.loadFromBytes(ini.toBytes());
    EXPECT_FALSE(reread.hasSection("Evil"));
    EXPECT_EQ(reread.readString("S", "a"), "one [Evil] b=2");
}

TEST(IniFile, ByteOrderMarksSelectTheEncoding)
{
    const QString text = QStringLiteral("[S]\nName=Čeština ü\n");
    QByteArray le("\xFF\xFE", 2), be("\xFE\xFF", 2);
    for (QChar c : text) {
        le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    for (const QByteArray &bytes :
        {QByteArray("\xEF\xBB\xBF") + text.toUtf8(), le, be, text.toUtf8()}) {
        IniFile ini;
        ini.loadFromBytes(bytes);
        EXPECT_EQ(ini.readString("s", "name"), QStringLiteral("Čeština ü"));
    }
}

TEST(IniFile, SaveCreatesTheFileWithoutByteOrderMark)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("new.ini");
    IniFile ini(path);
    EXPECT_FALSE(ini.load());
    ini.writeString("MAIN", "Name", "Ünïcode");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(ReadFile(path), QByteArray("[MAIN]\nName=Ünïcode\n"));
    IniFile again(path);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.readString("MAIN", "Name"), QStringLiteral("Ünïcode"));
}

TEST(IniFile, FailedSaveLeavesTheOldFileIntact)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    ASSERT_TRUE(WriteFile(path, "[MAIN]\nLeft=1\n"));
    IniFile ini(path);
    ASSERT_TRUE(ini.load());
    ini.writeString("MAIN", "Big", QString(2 * 1024 * 1024, u'x'));

    // A file-size limit makes the write fail the way a full disk does.
    struct rlimit old
    {
    };
    getrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    QString error;
    const bool saved = ini.save(&error);
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadFile(path), QByteArray("[MAIN]\nLeft=1\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"settings.ini"});
}

TEST(IniFile, SaveIntoMissingFolderFails)
{
    IniFile ini(QStringLiteral("/nonexistent-quillon-dir/x.ini"));
    ini.writeString("S", "k", "v");
    EXPECT_FALSE(ini.save());
}
