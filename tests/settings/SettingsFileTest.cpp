#include "settings/SettingsFile.h"
#include "settings/IniFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>

using TestSupport::ReadFile;
using TestSupport::WriteFile;

namespace {

constexpr int colNo = 0, colFileName = 3, colSize = 5, colVideo = 7, colVideoCodec = 8,
              colAudio = 20, colStatus = 28;

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

std::array<int, SettingsColumns::Count> positions(const MainSettings &m)
{
    std::array<int, SettingsColumns::Count> p{};
    for (int c = 0; c < SettingsColumns::Count; ++c)
        p[size_t(c)] = m.Columns[size_t(c)].Position;
    return p;
}

bool isPermutation(std::array<int, SettingsColumns::Count> p)
{
    std::sort(p.begin(), p.end());
    for (int i = 0; i < SettingsColumns::Count; ++i)
        if (p[size_t(i)] != i)
            return false;
    return true;
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

    EXPECT_FALSE(m.Maximized);
    EXPECT_EQ(QSize(m.Width, m.Height), QSize(998, 712));
    EXPECT_EQ(m.ListFontSize, 8);
    EXPECT_EQ(ListHeaderHeight(m.ListFontSize), 22);
    EXPECT_EQ(m.FileAnalysis, faFull);
    EXPECT_EQ(m.DefaultVideoCodec, 0);
    EXPECT_EQ(m.OutputFormat, 0);
    EXPECT_FALSE(m.output.rbOutDir);
    EXPECT_EQ(m.output.edOutDir, "/home/u/Desktop");
    EXPECT_TRUE(m.LastDir.isEmpty());
    const auto p = positions(m);
    std::array<int, SettingsColumns::Count> inOrder{};
    std::iota(inOrder.begin(), inOrder.end(), 0);
    EXPECT_EQ(p, inOrder);
    QList<int> shown;
    for (int c = 0; c < SettingsColumns::Count; ++c) {
        EXPECT_GE(m.Columns[size_t(c)].Width, MainSettings::MinColumnWidth);
        if (m.Columns[size_t(c)].Visible)
            shown << c;
    }
    EXPECT_EQ(shown, (QList<int>{0, 1, 2, 3, 4, 5, 6, colVideo, colAudio, colStatus}));

    // The described font where it is installed, else the desktop's.
    EXPECT_EQ(m.ListFontName, "DejaVu Sans");
    SettingsEnvironment withSegoe = env;
    withSegoe.installedFontFamilies << QStringLiteral("segoe ui");
    EXPECT_EQ(DefaultMainSettings(withSegoe).ListFontName, "Segoe UI");
}

TEST(SettingsFile, ReadNormalisesEachValue)
{
    using Field = std::function<int(const MainSettings &)>;
    const Field left = [](const MainSettings &m) { return m.Left; };
    const Field top = [](const MainSettings &m) { return m.Top; };
    const Field width = [](const MainSettings &m) { return m.Width; };
    const Field height = [](const MainSettings &m) { return m.Height; };
    const Field rowHeight = [](const MainSettings &m) { return m.RowHeight; };
    const Field header = [](const MainSettings &m) { return ListHeaderHeight(m.ListFontSize); };
    const Field analysis = [](const MainSettings &m) { return int(m.FileAnalysis); };
    const Field codec = [](const MainSettings &m) { return m.DefaultVideoCodec; };
    const Field page = [](const MainSettings &m) { return m.OutputFormat; };
    const Field exists = [](const MainSettings &m) { return m.output.cbOutputExists; };
    const Field after = [](const MainSettings &m) { return m.output.cbAfterConversion; };
    const Field gridLines = [](const MainSettings &m) { return int(m.GridLines); };
    const QList<QRect> twoScreens{QRect(0, 0, 1920, 1080), QRect(-1920, 0, 1920, 1080)};
    const struct
    {
        QByteArray keys;
        Field field;
        int expected;
        QList<QRect> screens = {QRect(0, 0, 1920, 1080)};
    } cases[] = {
        {"Left=5000\nTop=100\n", left, 0},
        {"Left=-2000\nTop=100\n", left, 0},
        {"Left=-1500\nTop=100\n", left, -1500, twoScreens},
        {"Left=300\nTop=-10\n", top, 0},
        {"Left=300\nTop=5000\n", top, 0},
        {"Left=300\nTop=200\n", top, 200},
        {"Left=300\nTop=200\n", left, 300},
        // Kept by the edge rules, yet nowhere on the screen: back to the corner.
        {"Left=-1500\nTop=100\n", left, 0},
        {"Left=1900\nTop=100\n", left, 0},
        {"Width=100\nHeight=-5\n", width, 650},
        {"Width=100\nHeight=-5\n", height, 400},
        {"Width=99999\nHeight=99999\n", width, 1920},
        {"Width=99999\nHeight=99999\n", height, 1080},
        {"RowHeight=5\n", rowHeight, 12},
        {"RowHeight=99\n", rowHeight, 50},
        {"RowHeight=abc\n", rowHeight, 20},
        {"ListFontSize=30\n", header, 34},
        {"ListFontSize=13\n", header, 22},
        {"FileAnalysis=quick\n", analysis, faQuick},
        {"FileAnalysis=none\n", analysis, faNone},
        {"FileAnalysis=fast\n", analysis, faFull},
        {"DefaultVideoCodec=  h.264  \n", codec, 2},
        {"DefaultVideoCodec=x264\n", codec, 0},
        {"OutputFormat=mpg\n", page, 1},
        {"OutputFormat=mpeg\n", page, 0},
        {"cbOutputExists=2\ncbAfterConversion=2\n", after, 2},
        {"cbOutputExists=2\ncbAfterConversion=2\n", exists, 2},
        // Garbage must not turn into "Close Windows" after a run.
        {"cbAfterConversion=7\n", after, 0},
        {"cbOutputExists=-1\n", exists, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keys.constData());
        EXPECT_EQ(c.field(readMain(c.keys, environment(c.screens))), c.expected);
    }

    // A missing key keeps the current value, except those with a fixed default.
    MainSettings current = DefaultMainSettings(environment());
    current.OutputFormat = 1;
    current.GridLines = false;
    current.RowHeight = 30;
    current.LanguageIni = QStringLiteral("German.ini");
    const MainSettings m = readMain("LanguageIni=\n", environment(), &current);
    EXPECT_EQ(page(m), 0);
    EXPECT_EQ(gridLines(m), 1);
    EXPECT_EQ(rowHeight(m), 30);
    EXPECT_EQ(m.LanguageIni, ""); // present but empty: English
}

TEST(SettingsFile, LastDirOnlyWhenTheFolderExists)
{
    QTemporaryDir dir;
    const QString existing = dir.path();
    EXPECT_EQ(readMain("LastDir=" + existing.toUtf8() + "\n").LastDir, existing);
    EXPECT_EQ(readMain("LastDir=" + existing.toUtf8() + "/deleted\n").LastDir, "");
}

TEST(SettingsFile, ColumnPositionsAreClampedAndAppliedInTheFileOrder)
{
    // 999 clamps to the last place; the columns after it move up one.
    const MainSettings far = readMain("colSize_Position=999\n");
    EXPECT_EQ(far.Columns[colSize].Position, 28);
    EXPECT_EQ(far.Columns[colStatus].Position, 27);
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
    EXPECT_TRUE(isPermutation(positions(readMain(allFirst))));
}

TEST(SettingsFile, ColumnStateSurvivesWriteAndRead)
{
    const SettingsEnvironment env = environment();
    MainSettings m = DefaultMainSettings(env);
    // An order that moving the columns one by one in the file's order would
    // not rebuild.
    const std::array<int, SettingsColumns::Count> order{3, 0, 28, 12, 5, 1, 27, 2, 14, 7, 4, 19, 6,
        26, 8, 20, 9, 25, 10, 11, 24, 13, 15, 23, 16, 17, 22, 18, 21};
    for (int i = 0; i < SettingsColumns::Count; ++i) {
        ColumnState &col = m.Columns[size_t(order[size_t(i)])];
        col.Position = i;
        col.Width = 30 + 7 * i;
        col.Visible = i % 3 != 0;
    }
    m.Columns[colNo].Visible = false;
    m.Columns[colFileName].Visible = true;
    m.Columns[colVideoCodec].Visible = true;
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
    m.Left = 12;
    m.output = {true, QStringLiteral("/v/out"), 1, 2, true};
    m.FileAnalysis = faQuick;
    m.DefaultVideoCodec = 2;
    m.OutputFormat = 1;
    m.LastDir = QStringLiteral("/v/in");
    ProgressSettings p;
    p.Left = 5;
    IniFile ini;
    SaveSettingsToIni(ini, m, p);
    const QStringList lines = QString::fromUtf8(ini.toBytes()).split(u'\n');
    const QStringList head{"[MAIN]", "LanguageIni=Polski.ini", "Maximized=0", "Left=12", "Top=0",
        "Width=998", "Height=712", "cbOutputExists=1", "cbAfterConversion=2", "OutIn=0",
        "OutDir=/v/out", "KeepFileDates=1", "GridLines=1", "RowIndicator=1", "GridFooter=1",
        "RowHeight=20", "AllowRowMoving=1", "AllowColumnMoving=1", "ListFontName=DejaVu Sans",
        "ListFontSize=8", "FileAnalysis=Quick", "pnConversionSettingsExpanded=1",
        "OpenFileAfterIconClick=1", "DefaultVideoCodec=H.264", "OutputFormat=MPG", "LastDir=/v/in",
        "DragAcceptDirectories=1", "colNo_Width=40", "colActive_Width=24"};
    EXPECT_EQ(lines.mid(0, head.size()), head);
    EXPECT_EQ(lines.filter(QRegularExpression("_Width=")).size(), 29);
    EXPECT_EQ(lines.filter(QRegularExpression("_Position=")).size(), 29);
    EXPECT_EQ(lines.filter(QRegularExpression("_Visible=")).size(), 27);
    EXPECT_EQ(lines.indexOf("colStatus_Width=120"), lines.indexOf("colDuration_Width=70") + 1);
    EXPECT_EQ(lines.indexOf("colVideoBpp_Position=17"),
        lines.indexOf("colVideoScanType_Position=18") + 1);
    const QStringList tail{"[PROGRESS]", "DontShowEncoderOutput=0", "Left=5", "Top=0", "Width=720",
        "Height=480", "CloseAfterConversion=1", "AutoScrollMemoToBottom=1", ""};
    EXPECT_EQ(lines.mid(lines.size() - tail.size()), tail);

    IniFile withoutProgress;
    SaveSettingsToIni(withoutProgress, m, std::nullopt);
    EXPECT_FALSE(withoutProgress.hasSection("PROGRESS"));
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
    EXPECT_TRUE(QRect(0, 0, 1920, 1080).contains(QPoint(m.Left, m.Top)));
    EXPECT_EQ(QSize(m.Width, m.Height), QSize(650, 1080));
    EXPECT_EQ(m.RowHeight, 12);
    EXPECT_EQ(m.ListFontSize, 20);
    EXPECT_EQ(m.ListFontName, def.ListFontName);
    EXPECT_EQ(m.output.cbOutputExists, 0);
    EXPECT_EQ(m.output.cbAfterConversion, 0);
    EXPECT_EQ(m.Columns[colNo].Width, MainSettings::MinColumnWidth);
    EXPECT_EQ(m.Columns[colSize].Width, MainSettings::MaxColumnWidth);
    EXPECT_EQ(m.Columns[colVideo].Width, def.Columns[colVideo].Width);
    EXPECT_TRUE(isPermutation(positions(m)));
    EXPECT_EQ(m.Columns[colNo].Position, 0);
    EXPECT_EQ(m.Columns[colSize].Position, 28);

    const ProgressSettings p = LoadProgressSettings(fromText(junk), ProgressSettings{}, env);
    EXPECT_EQ(QSize(p.Width, p.Height), QSize(600, 1080));
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
