#include "settings/SettingsFile.h"
#include "app/IniFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using TestSupport::ReadFile;
using TestSupport::WriteFile;

namespace {

constexpr int colNo = 0, colSize = 5, colVideo = 7, colAudio = 20, colStatus = 28,
              colExpectedSize = 29;

SettingsEnvironment environment(QList<QRect> screens = {QRect(0, 0, 1920, 1080)})
{
    return {screens, QStringLiteral("/home/u/Desktop"), {QStringLiteral("DejaVu Sans")},
        QStringLiteral("DejaVu Sans")};
}

IniFile fromText(const QByteArray &text)
{
    IniFile ini;
    ini.loadFromBytes(text);
    return ini;
}

MainSettings readMain(const QByteArray &mainKeys, const SettingsEnvironment &env = environment(),
    const MainSettings *current = nullptr)
{
    const MainSettings base = current ? *current : DefaultMainSettings(env);
    return LoadSettingsFromIni(fromText("[MAIN]\n" + mainKeys), base, env);
}

// Every column has a place of its own.
bool placesAreDistinct(const MainSettings &m)
{
    QSet<int> places;
    for (const ColumnState &col : m.Columns)
        places.insert(col.Position);
    return places.size() == SettingsColumns::Count;
}

} // namespace

TEST(SettingsFile, FirstRunKeepsTheBuiltInValues)
{
    QTemporaryDir dir;
    const QString iniName = dir.filePath("quillon.ini");
    const SettingsEnvironment env = environment();
    const MainSettings m = LoadSettingsFile(iniName, DefaultMainSettings(env), env);
    EXPECT_EQ(m, DefaultMainSettings(env));
    EXPECT_EQ(LoadProgressSettingsFile(iniName, ProgressSettings{}, env), ProgressSettings{});

    EXPECT_EQ(QRect(m.Left, m.Top, m.Width, m.Height), QRect(0, 0, 998, 712));
    EXPECT_EQ(std::tuple(m.Maximized, ListHeaderHeight(m.ListFontSize), m.ListFontSize,
                  m.FileAnalysis, m.DefaultVideoCodec, m.OutputFormat),
        std::tuple(false, 22, 8, faFull, 0, 0));
    EXPECT_EQ(m.output, (OutputOptions{false, "/home/u/Desktop", 0, 0, false}));
    // Shown left to right: the status and the expected size beside the
    // duration, in view at the default size.
    QList<int> shown;
    for (int place = 0; place < SettingsColumns::Count; ++place)
        for (int c = 0; c < SettingsColumns::Count; ++c)
            if (m.Columns[size_t(c)].Position == place && m.Columns[size_t(c)].Visible)
                shown << c;
    EXPECT_EQ(
        shown, (QList<int>{0, 1, 2, 3, 4, 5, 6, colStatus, colExpectedSize, colVideo, colAudio}));
    EXPECT_TRUE(placesAreDistinct(m));

    // The described font where it is installed, else the desktop's.
    EXPECT_EQ(m.ListFontName, "DejaVu Sans");
    SettingsEnvironment withSegoe = env;
    withSegoe.installedFontFamilies << QStringLiteral("segoe ui");
    EXPECT_EQ(DefaultMainSettings(withSegoe).ListFontName, "Segoe UI");
}

TEST(SettingsFile, ReadPlacesTheWindowOnAScreen)
{
    const QList<QRect> one{QRect(0, 0, 1920, 1080)};
    const QList<QRect> two{QRect(0, 0, 1920, 1080), QRect(-1920, 0, 1920, 1080)};
    const struct
    {
        QByteArray keys;
        QList<QRect> screens;
        QRect expected;
    } cases[] = {
        {"Left=300\nTop=200\nWidth=800\nHeight=600\n", one, {300, 200, 800, 600}},
        {"Left=5000\nTop=-10\n", one, {0, 0, 998, 712}},
        {"Left=-2000\nTop=5000\n", one, {0, 0, 998, 712}},
        {"Left=-1500\nTop=100\n", two, {-1500, 100, 998, 712}},
        // Kept by the edge rules, yet out of reach: back to the corner.
        {"Left=-1500\nTop=100\n", one, {0, 0, 998, 712}},
        {"Left=1900\nTop=100\n", one, {0, 0, 998, 712}},
        {"Width=100\nHeight=-5\n", one, {0, 0, 650, 400}},
        {"Width=99999\nHeight=99999\n", one, {0, 0, 1920, 1080}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keys.constData());
        const MainSettings m = readMain(c.keys, environment(c.screens));
        EXPECT_EQ(QRect(m.Left, m.Top, m.Width, m.Height), c.expected);
    }
}

TEST(SettingsFile, ReadNormalisesEachValue)
{
    // Each case: the keys read, and what that changes from the defaults.
    using Change = std::function<void(MainSettings &)>;
    const std::pair<QByteArray, Change> cases[] = {
        {"RowHeight=5\n", [](MainSettings &m) { m.RowHeight = 12; }},
        {"RowHeight=99\n", [](MainSettings &m) { m.RowHeight = 50; }},
        {"RowHeight=abc\n", [](MainSettings &) {}},
        {"ListFontSize=30\n", [](MainSettings &m) { m.ListFontSize = 20; }},
        {"ListFontSize=13\n", [](MainSettings &m) { m.ListFontSize = 13; }},
        {"FileAnalysis=quick\n", [](MainSettings &m) { m.FileAnalysis = faQuick; }},
        {"FileAnalysis=none\n", [](MainSettings &m) { m.FileAnalysis = faNone; }},
        {"FileAnalysis=fast\n", [](MainSettings &) {}},
        {"DefaultVideoCodec=  h.264  \n", [](MainSettings &m) { m.DefaultVideoCodec = 2; }},
        {"DefaultVideoCodec=x264\n", [](MainSettings &) {}},
        {"OutputFormat=mpg\n", [](MainSettings &m) { m.OutputFormat = 1; }},
        {"OutputFormat=mpeg\n", [](MainSettings &) {}},
        {"cbOutputExists=2\ncbAfterConversion=2\n",
            [](MainSettings &m) { m.output.cbOutputExists = m.output.cbAfterConversion = 2; }},
        // Garbage must not turn into "Power off the computer" after a run.
        {"cbOutputExists=-1\ncbAfterConversion=7\n", [](MainSettings &) {}},
        {"cbOutputExists=3\ncbAfterConversion=3\n", [](MainSettings &) {}}, // one past the end
    };
    for (const auto &[keys, change] : cases) {
        SCOPED_TRACE(keys.constData());
        MainSettings expected = DefaultMainSettings(environment());
        // Written before the column existed: the list as its user knew it.
        expected.Columns[colExpectedSize].Visible = false;
        change(expected);
        EXPECT_EQ(readMain(keys), expected);
    }
    EXPECT_EQ(ListHeaderHeight(20), 34);
    EXPECT_EQ(ListHeaderHeight(13), 22);

    // A missing key keeps the current value, except those with a fixed default.
    MainSettings current = DefaultMainSettings(environment());
    current.OutputFormat = 1;
    current.GridLines = false;
    current.RowHeight = 30;
    current.LanguageIni = QStringLiteral("German.ini");
    const MainSettings m = readMain("LanguageIni=\n", environment(), &current);
    EXPECT_EQ(m.OutputFormat, 0);
    EXPECT_TRUE(m.GridLines);
    EXPECT_EQ(m.RowHeight, 30);
    EXPECT_EQ(m.LanguageIni, ""); // present but empty: English

    QTemporaryDir dir;
    EXPECT_EQ(readMain("LastDir=" + dir.path().toUtf8() + "\n").LastDir, dir.path());
    EXPECT_EQ(readMain("LastDir=" + dir.path().toUtf8() + "/deleted\n").LastDir, "");
}

TEST(SettingsFile, ColumnPositionsAreClampedAndAppliedInTheFileOrder)
{
    // 999 clamps to the last place; the columns after it move up one.
    const MainSettings far = readMain("colSize_Position=999\n");
    EXPECT_EQ(far.Columns[colSize].Position, 29);
    EXPECT_EQ(far.Columns[colStatus].Position, 6);
    EXPECT_EQ(far.Columns[4].Position, 4);

    // The file lists colStatus before colVideo, so colVideo moves last and
    // pushes colStatus aside.
    const MainSettings both = readMain("colVideo_Position=7\ncolStatus_Position=7\n");
    EXPECT_EQ(both.Columns[colVideo].Position, 7);
    EXPECT_EQ(both.Columns[colStatus].Position, 8);

    // Every column claiming place 0 still gives each column one place.
    QByteArray allFirst;
    for (int c = 0; c < SettingsColumns::Count; ++c)
        allFirst += SettingsColumns::KeyName(c).toUtf8() + "_Position=0\n";
    EXPECT_TRUE(placesAreDistinct(readMain(allFirst)));
}

TEST(SettingsFile, ColumnStateSurvivesWriteAndRead)
{
    const SettingsEnvironment env = environment();
    MainSettings m = DefaultMainSettings(env);
    // An order that moving the columns one by one in the file's order would
    // not rebuild.
    const std::array<int, SettingsColumns::Count> order{3, 0, 28, 12, 5, 1, 27, 2, 14, 7, 4, 19, 6,
        26, 8, 20, 9, 25, 10, 11, 24, 13, 15, 23, 16, 17, 22, 18, 29, 21};
    for (int i = 0; i < SettingsColumns::Count; ++i) {
        ColumnState &col = m.Columns[size_t(order[size_t(i)])];
        col.Position = i;
        col.Width = 30 + 7 * i;
        col.Visible = i % 3 != 0;
    }
    IniFile ini;
    SaveSettingsToIni(ini, m, std::nullopt);
    const MainSettings back = LoadSettingsFromIni(ini, DefaultMainSettings(env), env);
    for (int c = 0; c < SettingsColumns::Count; ++c) {
        SCOPED_TRACE(SettingsColumns::KeyName(c).toStdString());
        const bool shown = m.Columns[size_t(c)].Visible || SettingsColumns::AlwaysShown(c);
        EXPECT_EQ(back.Columns[size_t(c)],
            (ColumnState{m.Columns[size_t(c)].Width, m.Columns[size_t(c)].Position, shown}));
    }
}

TEST(SettingsFile, NewFileListsTheKeysInTheirOrder)
{
    MainSettings m = DefaultMainSettings(environment());
    m.LanguageIni = QStringLiteral("Polski.ini");
    m.output = {true, QStringLiteral("/v/out"), 1, 2, true};
    m.ListFontName = QStringLiteral("Mono");
    m.FileAnalysis = faQuick;
    m.DefaultVideoCodec = 2;
    m.OutputFormat = 1;
    m.LastDir = QStringLiteral("/v/in");
    m.Theme = AppTheme::Dark;
    IniFile ini;
    SaveSettingsToIni(ini, m, ProgressSettings{});
    const QStringList lines = QString::fromUtf8(ini.toBytes()).split(u'\n');
    const QString head = "[MAIN] LanguageIni=Polski.ini Maximized=0 Left=0 Top=0 Width=998 "
                         "Height=712 cbOutputExists=1 cbAfterConversion=2 OutIn=0 OutDir=/v/out "
                         "KeepFileDates=1 GridLines=1 RowIndicator=1 GridFooter=1 RowHeight=20 "
                         "AllowRowMoving=1 AllowColumnMoving=1 ListFontName=Mono ListFontSize=8 "
                         "FileAnalysis=Quick pnConversionSettingsExpanded=1 "
                         "OpenFileAfterIconClick=1 DefaultVideoCodec=H.264 OutputFormat=MPG "
                         "LastDir=/v/in DragAcceptDirectories=1 Theme=Dark colNo_Width=40";
    EXPECT_EQ(lines.mid(0, 29).join(u' '), head);
    // Widths, positions and visibilities in the file's column order.
    EXPECT_EQ(lines.indexOf("colStatus_Width=120"), lines.indexOf("colDuration_Width=70") + 1);
    EXPECT_EQ(lines.indexOf("colExpectedSize_Width=100"),
        lines.indexOf("colAudioStreamSize_Width=120") + 1);
    EXPECT_EQ(lines.indexOf("colNo_Position=0"), lines.indexOf("colExpectedSize_Width=100") + 1);
    EXPECT_EQ(lines.indexOf("colVideoBpp_Position=19"),
        lines.indexOf("colVideoScanType_Position=20") + 1);
    EXPECT_EQ(lines.filter(QRegularExpression("_Visible=")).size(), 28);
    EXPECT_EQ(lines.mid(lines.size() - 9).join(u' '),
        "[PROGRESS] DontShowEncoderOutput=0 Left=0 Top=0 Width=720 Height=480 "
        "CloseAfterConversion=1 AutoScrollMemoToBottom=1 ");

    IniFile withoutProgress;
    SaveSettingsToIni(withoutProgress, m, std::nullopt);
    EXPECT_FALSE(withoutProgress.hasSection("PROGRESS"));
}

TEST(SettingsFile, ThemeSurvivesWriteAndReadAndUnknownTextIsSystem)
{
    const SettingsEnvironment env = environment();
    for (AppTheme theme : {AppTheme::System, AppTheme::Light, AppTheme::Dark}) {
        SCOPED_TRACE(ThemeText(theme).toStdString());
        MainSettings m = DefaultMainSettings(env);
        m.Theme = theme;
        IniFile ini;
        SaveSettingsToIni(ini, m, std::nullopt);
        // Read over a different value, so a key that was not written shows.
        MainSettings other = DefaultMainSettings(env);
        other.Theme = theme == AppTheme::Dark ? AppTheme::Light : AppTheme::Dark;
        EXPECT_EQ(LoadSettingsFromIni(ini, other, env).Theme, theme);
    }

    EXPECT_EQ(DefaultMainSettings(env).Theme, AppTheme::System);
    EXPECT_EQ(readMain("Theme=dark\n").Theme, AppTheme::Dark);
    EXPECT_EQ(readMain("Theme= LIGHT \n").Theme, AppTheme::Light);
    MainSettings dark = DefaultMainSettings(env);
    dark.Theme = AppTheme::Dark;
    for (const char *unknown : {"Theme=Solarized\n", "Theme=\n", "Theme=2\n"})
        EXPECT_EQ(readMain(unknown, env, &dark).Theme, AppTheme::System) << unknown;
}

TEST(SettingsFile, SimultaneousConversionsAndKeptTreeSurviveAndAnythingElseIsAuto)
{
    const SettingsEnvironment env = environment();
    for (int count : {0, 1, 7, MaxSimultaneousConversions}) {
        SCOPED_TRACE(count);
        MainSettings m = DefaultMainSettings(env);
        m.output.cbSimultaneousConversions = count;
        m.output.chOutDirKeepTree = count % 2 == 1;
        IniFile ini;
        SaveSettingsToIni(ini, m, std::nullopt);
        EXPECT_EQ(ini.readString(QStringLiteral("MAIN"), QStringLiteral("SimultaneousConversions")),
            QString::number(count));
        MainSettings other = DefaultMainSettings(env);
        other.output.cbSimultaneousConversions = count == 3 ? 4 : 3;
        other.output.chOutDirKeepTree = !m.output.chOutDirKeepTree;
        const MainSettings read = LoadSettingsFromIni(ini, other, env);
        EXPECT_EQ(read.output.cbSimultaneousConversions, count);
        EXPECT_EQ(read.output.chOutDirKeepTree, m.output.chOutDirKeepTree);
    }

    // A file of an earlier version has neither key: Auto and flat outputs,
    // and the rest as before.
    const MainSettings old = readMain("cbAfterConversion=1\nKeepFileDates=1\nOutIn=0\n");
    EXPECT_EQ(old.output.cbSimultaneousConversions, 0);
    EXPECT_FALSE(old.output.chOutDirKeepTree);
    EXPECT_TRUE(old.output.rbOutDir);
    EXPECT_EQ(old.output.cbAfterConversion, 1);
    EXPECT_TRUE(old.output.chKeepDates);
    EXPECT_EQ(readMain("SimultaneousConversions= 12 \n").output.cbSimultaneousConversions, 12);
    MainSettings four = DefaultMainSettings(env);
    four.output.cbSimultaneousConversions = 4;
    for (const char *bad : {"SimultaneousConversions=17\n", "SimultaneousConversions=-1\n",
             "SimultaneousConversions=two\n", "SimultaneousConversions=3x\n",
             "SimultaneousConversions=\n"})
        EXPECT_EQ(readMain(bad, env, &four).output.cbSimultaneousConversions, 0) << bad;
}

TEST(SettingsFile, MaximizedExitKeepsTheNormalGeometry)
{
    IniFile ini = fromText("[MAIN]\nMaximized=0\nLeft=10\nTop=20\nWidth=800\nHeight=600\n");
    const SettingsEnvironment env = environment();
    MainSettings m = LoadSettingsFromIni(ini, DefaultMainSettings(env), env);
    m.Maximized = true;
    m.Left = m.Top = 0;
    m.Width = 1920;
    m.Height = 1080;
    SaveSettingsToIni(ini, m, std::nullopt);
    EXPECT_EQ(ini.readString("MAIN", "Maximized"), "1");

    const MainSettings next = LoadSettingsFromIni(ini, DefaultMainSettings(env), env);
    EXPECT_TRUE(next.Maximized);
    EXPECT_EQ(QRect(next.Left, next.Top, next.Width, next.Height), QRect(10, 20, 800, 600));
}

TEST(SettingsFile, SaveKeepsReadOnlyKeysAndForeignLines)
{
    QTemporaryDir dir;
    const QString iniName = dir.filePath("quillon.ini");
    const QByteArray handMade
        = "; my notes\n[main]\nEscExit = 1\nMediaInfoDll=/opt/mi/lib.so\n"
          "ToolsDir=../tools\nffmpeg = /opt/ff/ffmpeg\nWebSite=https://q.test\n"
          "Left=3\n\n[Extra]\nx=y\n";
    ASSERT_TRUE(WriteFile(iniName, handMade));
    const SettingsEnvironment env = environment();
    const MainSettings m = LoadSettingsFile(iniName, DefaultMainSettings(env), env);
    QString error;
    ASSERT_TRUE(SaveSettingsFile(iniName, m, ProgressSettings{}, &error)) << error.toStdString();

    const QByteArray saved = ReadFile(iniName);
    EXPECT_TRUE(
        saved.startsWith("; my notes\n[main]\nEscExit = 1\nMediaInfoDll=/opt/mi/lib.so\n"
                         "ToolsDir=../tools\nffmpeg = /opt/ff/ffmpeg\nWebSite=https://q.test\n"
                         "Left=3\n"));
    EXPECT_TRUE(saved.contains("\n[Extra]\nx=y\n"));
    // A second save of the same values changes nothing.
    ASSERT_TRUE(SaveSettingsFile(iniName, m, ProgressSettings{}));
    EXPECT_EQ(ReadFile(iniName), saved);
}

TEST(SettingsFile, BrokenFileGivesSaneValues)
{
    const QByteArray junk
        = "\x01\x02garbage\n====\n[\n[MAIN\n[MAIN]\nno equals sign\n=7\n"
          "Left=99999999999999\nTop=0xFFFFFFFF\nWidth=-800\nHeight=0x7FFFFFFF\n"
          "RowHeight=-3\nListFontSize=2147483647\nListFontName=\n"
          "cbOutputExists=0x10\ncbAfterConversion=-2147483648\n"
          "colNo_Width=-50\ncolSize_Width=2147483647\ncolVideo_Width=x\n"
          "colNo_Position=-4\ncolSize_Position=0x7FFFFFFF\ncolAudio_Position=1e3\n"
          "[PROGRESS]\nWidth=-1\nHeight=999999\n";
    const SettingsEnvironment env = environment();
    const MainSettings def = DefaultMainSettings(env);
    const MainSettings m = LoadSettingsFromIni(fromText(junk), def, env);
    EXPECT_EQ(QRect(m.Left, m.Top, m.Width, m.Height), QRect(0, 0, 650, 1080));
    EXPECT_EQ(std::tuple(m.RowHeight, m.ListFontSize, m.ListFontName),
        std::tuple(12, 20, def.ListFontName));
    EXPECT_EQ(m.output, def.output);
    EXPECT_EQ(m.Columns[colNo].Width, MainSettings::MinColumnWidth);
    EXPECT_EQ(m.Columns[colSize].Width, MainSettings::MaxColumnWidth);
    EXPECT_EQ(m.Columns[colVideo].Width, def.Columns[colVideo].Width);
    EXPECT_TRUE(placesAreDistinct(m));
    EXPECT_EQ(m.Columns[colSize].Position, 29);

    const ProgressSettings p = LoadProgressSettings(fromText(junk), ProgressSettings{}, env);
    EXPECT_EQ(QSize(p.Width, p.Height), QSize(600, 1080));
}

TEST(SettingsFile, FirstSaveCreatesTheSettingsFolder)
{
    // Installed, quillon.ini lives in $XDG_CONFIG_HOME/quillon, which a
    // fresh account does not have.
    QTemporaryDir dir;
    const QString iniName = dir.filePath("config/quillon/quillon.ini");
    QString error;
    ASSERT_TRUE(
        SaveSettingsFile(iniName, DefaultMainSettings(environment()), ProgressSettings{}, &error))
        << error.toStdString();
    EXPECT_TRUE(ReadFile(iniName).startsWith("[MAIN]\n"));
}

TEST(SettingsFile, UnwritableFolderReportsAndLeavesNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteFile(dir.filePath("file"), "plain"));
    const QString iniName = dir.filePath("file/quillon.ini");
    QString error;
    EXPECT_FALSE(
        SaveSettingsFile(iniName, DefaultMainSettings(environment()), ProgressSettings{}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList{"file"});
    EXPECT_EQ(ReadFile(dir.filePath("file")), "plain");
}
