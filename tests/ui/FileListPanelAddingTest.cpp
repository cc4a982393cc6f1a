#include "ui/filelist/FileListPanel.h"

#include "app/NonUtf8Names.h"
#include "app/TextHelpers.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "ui/FileListPanelTestSupport.h"
#include "ui/filelist/FileListFooterBar.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QMimeData>
#include <QSignalSpy>
#include <QTimer>
#include <QUrl>
#include <fcntl.h>
#include <unistd.h>

using namespace PanelTest;
using namespace Qt::StringLiterals;

namespace {

void Drop(FileListPanel &panel, const QMimeData &data)
{
    QWidget *viewport = View(panel)->viewport();
    const QPoint at = viewport->rect().center();
    // The drop goes where the drag entered, as in a real drag.
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &drop);
}

void Drop(FileListPanel &panel, const QStringList &paths)
{
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    QMimeData data;
    data.setUrls(urls);
    Drop(panel, data);
}

} // namespace

TEST(FileListPanelAdding, OneRowPerFileNotPerName)
{
    QTemporaryDir dir;
    for (const QString &name : {u"a.mkv"_s, u"A.mkv"_s, u"notes.txt"_s})
        Touch(dir.filePath(name));
    ASSERT_TRUE(QFile::link(dir.filePath("a.mkv"), dir.filePath("link.mkv")));
    ASSERT_EQ(::link(QFile::encodeName(dir.filePath("a.mkv")).constData(),
                  QFile::encodeName(dir.filePath("hard.mkv")).constData()),
        0);
    FileListPanel panel;
    panel.addFiles({dir.filePath("a.mkv"), dir.filePath("a.mkv"), dir.filePath("link.mkv")});
    panel.addFiles({dir.filePath("hard.mkv"), dir.filePath("A.mkv"), dir.filePath("notes.txt"),
        dir.filePath("missing.mkv")});
    EXPECT_EQ(Names(panel), QStringList({"a.mkv", "A.mkv"}));
    EXPECT_EQ(panel.rows()[1].status, "Ready");
    EXPECT_FALSE(panel.isBusy());

    // Names that are not UTF-8 are never added and reported in one message
    // per action, however many; a dropped list that cannot be read is
    // reported on its own.
    QSignalSpy reported(&panel, &FileListPanel::errorReported);
    const QByteArray base = QFile::encodeName(dir.path());
    const QString odd = DecodeLocalName(base + "/\xff.mkv");
    const QString list = dir.filePath("odd.lst");
    ASSERT_TRUE(TestSupport::WriteFile(list, base + "/\xfe.mkv\n"));
    panel.addPaths({odd, list, dir.filePath("missing.lst")});
    ASSERT_EQ(reported.count(), 2);
    EXPECT_TRUE(reported[0].at(0).toString().contains("missing.lst"));
    EXPECT_EQ(reported[1].at(0).toString(),
        u"2 names were skipped because they are not valid UTF-8:\n\"%1/\\xff.mkv\"\n\"%1/\\xfe.mkv\""_s
            .arg(dir.path()));
    EXPECT_EQ(panel.rows().size(), 2u);

    // A binary list file: one message, not one per line.
    QByteArray binary;
    for (int i = 0; i < 257; ++i)
        binary += base + "/\x80" + QByteArray::number(i) + ".mkv\n";
    ASSERT_TRUE(TestSupport::WriteFile(list, binary));
    reported.clear();
    ASSERT_TRUE(panel.loadListFile(list, nullptr));
    ASSERT_EQ(reported.count(), 1);
    EXPECT_TRUE(reported[0].at(0).toString().startsWith("257 names were skipped"));

    // A folder of such names with one good file: the good one is added, the
    // rest reported once.
    const QString folder = dir.filePath("odd");
    Touch(folder + "/good.mkv");
    for (int i = 0; i < 30; ++i) {
        const QByteArray name
            = QFile::encodeName(folder) + "/\xe9t\xe9" + QByteArray::number(i) + ".mkv";
        ASSERT_EQ(::close(::creat(name.constData(), 0644)), 0);
    }
    reported.clear();
    panel.addFolder(folder);
    ASSERT_TRUE(WaitIdle(panel));
    EXPECT_EQ(Names(panel).last(), "good.mkv");
    EXPECT_EQ(panel.rows().size(), 3u);
    ASSERT_EQ(reported.count(), 1);
    EXPECT_TRUE(reported[0].at(0).toString().startsWith("30 names were skipped"));
    for (int i = 0; i < 30; ++i) // QTemporaryDir cannot name them
        ::unlink((QFile::encodeName(folder) + "/\xe9t\xe9" + QByteArray::number(i) + ".mkv")
                     .constData());
}

TEST(FileListPanelAdding, FolderTreesAndDropsInOrder)
{
    QTemporaryDir dir;
    const QString root = dir.filePath("tree");
    Touch(root + "/.hidden.mkv");
    QString deep = root;
    for (int level = 1; level <= 25; ++level) {
        deep += "/d";
        Touch(deep + u"/level%1.mkv"_s.arg(level));
    }
    ASSERT_TRUE(QFile::link(root, root + "/d/loop"));
    FileListPanel panel;
    QSignalSpy busy(&panel, &FileListPanel::busyChanged);
    panel.addFolder(root);
    EXPECT_TRUE(panel.isBusy()); // walked off the window's thread
    ASSERT_TRUE(WaitIdle(panel));
    EXPECT_EQ(busy.count(), 2);
    QStringList names = Names(panel);
    EXPECT_EQ(names.size(), 21); // the hidden file and levels 1 to 20
    EXPECT_TRUE(names.contains(".hidden.mkv"));
    EXPECT_TRUE(names.contains("level20.mkv"));

    // Dropped: a file, a folder and a list, taken in alphabetical order.
    Touch(dir.filePath("m/m1.mkv"));
    Touch(dir.filePath("n.mkv"));
    Touch(dir.filePath("z.mkv"));
    ASSERT_TRUE(TestSupport::WriteFile(dir.filePath("k.lst"), dir.filePath("z.mkv").toUtf8()));
    FileListPanel dropped;
    TAppParams params = Params(faNone);
    dropped.setParams(params);
    Drop(dropped, {dir.filePath("n.mkv"), dir.filePath("m"), dir.filePath("k.lst")});
    ASSERT_TRUE(WaitIdle(dropped));
    EXPECT_EQ(Names(dropped), QStringList({"z.mkv", "m1.mkv", "n.mkv"}));
    // Each row keeps the folder it came through (a list's, a folder's, none
    // for a file on its own): outputs that keep the tree are placed by it.
    QStringList roots;
    for (const FileListRow &row : dropped.rows())
        roots << row.treeRoot;
    EXPECT_EQ(roots, QStringList({dir.path(), dir.filePath("m"), QString()}));
    EXPECT_EQ(panel.rows().front().treeRoot, root);

    // A dropped name whose bytes are not UTF-8 is recognised as such.
    QSignalSpy reported(&dropped, &FileListPanel::errorReported);
    QMimeData raw;
    raw.setData(
        "text/uri-list", "file://" + QUrl::toPercentEncoding(dir.path(), "/") + "/%FF.mkv\r\n");
    Drop(dropped, raw);
    ASSERT_EQ(reported.count(), 1);
    EXPECT_TRUE(reported[0].at(0).toString().contains("\\xff"));

    params.DragAcceptDirectories = false;
    FileListPanel noFolders;
    noFolders.setParams(params);
    Drop(noFolders, {dir.filePath("m")});
    ASSERT_TRUE(WaitIdle(noFolders));
    EXPECT_TRUE(noFolders.rows().empty());
}

TEST(FileListPanelAdding, AnalysisModes)
{
    REQUIRE_CLIPS();
    const auto analysed = [](TFileAnalysis mode) {
        FileListPanel panel;
        panel.setParams(Params(mode));
        panel.addFiles({MadeClips().mkv, MadeClips().avi});
        EXPECT_EQ(panel.rows().size(), 2u); // at once, before any analysis
        EXPECT_TRUE(WaitIdle(panel));
        return std::pair(panel.rows()[0].analysis, panel.rows()[1].analysis);
    };
    const auto [noneMkv, noneAvi] = analysed(faNone);
    EXPECT_EQ(noneMkv.videoCodec, "");
    EXPECT_EQ(noneAvi.audioCodec, "");

    const auto [quickMkv, quickAvi] = analysed(faQuick);
    EXPECT_EQ(quickMkv.videoCodec, "AVC");
    EXPECT_EQ(quickMkv.videoBitrate, 0); // MediaInfo has none for it
    EXPECT_EQ(quickMkv.videoResolution, "160 x 120");
    EXPECT_EQ(quickAvi.audioCodec, "MP3");
    EXPECT_GT(quickAvi.videoBitrate, 0);

    // Full asks FFmpeg where MediaInfo left the bit rate open.
    const auto [fullMkv, fullAvi] = analysed(faFull);
    EXPECT_GT(fullMkv.videoBitrate, 0);
    EXPECT_EQ(fullMkv.videoCodec, "AVC");
    EXPECT_EQ(fullAvi.videoBitrate, quickAvi.videoBitrate);
}

TEST(FileListPanelAdding, AThousandFilesWhileTheWindowRuns)
{
    REQUIRE_CLIPS();
    QTemporaryDir dir;
    for (int i = 0; i < 1000; ++i)
        Copy(MadeClips().mkv, dir.filePath(u"f%1/clip%2.mkv"_s.arg(i % 7).arg(i)));
    FileListPanel panel;
    panel.setParams(Params(faQuick));
    int ticks = 0;
    int filledAtFirstTick = -1;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        if (filledAtFirstTick < 0)
            filledAtFirstTick = int(std::count_if(panel.rows().begin(), panel.rows().end(),
                [](const FileListRow &row) { return !row.analysis.videoCodec.isEmpty(); }));
    });
    timer.start(5);
    panel.addFolder(dir.path());
    ASSERT_TRUE(WaitIdle(panel, 120000));
    timer.stop();
    ASSERT_EQ(panel.rows().size(), 1000u);
    EXPECT_LT(filledAtFirstTick, 1000); // the loop ran before the work was done
    EXPECT_GT(ticks, 10);
    for (const FileListRow &row : panel.rows())
        ASSERT_EQ(row.analysis.videoCodec, "AVC") << row.fileName.toStdString();
}

// 10,000 rows at a large font: the No column and the count under it are
// shown whole, never "10 ...".
TEST(FileListPanelAdding, TheNumberColumnFitsTheRowCount)
{
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < 10000; ++i) {
        files << dir.filePath(u"%1.mkv"_s.arg(i));
        ASSERT_EQ(::close(::creat(QFile::encodeName(files.last()).constData(), 0644)), 0);
    }
    FileListPanel panel;
    panel.setParams(Params(faNone));
    QFont font = panel.font();
    font.setPointSize(20);
    panel.setFont(font);
    panel.resize(800, 400);
    panel.show();
    panel.addFiles(files);
    ASSERT_TRUE(WaitIdle(panel));
    ASSERT_EQ(panel.rows().size(), 10000u);
    const auto *footer = panel.findChild<FileListFooterBar *>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return footer->texts()[colNo].contains(u"10"_s); }, 5000));
    const int width = View(panel)->horizontalHeader()->sectionSize(colNo);
    EXPECT_GE(width, footer->fontMetrics().horizontalAdvance(footer->texts()[colNo]));
    EXPECT_GE(width, View(panel)->fontMetrics().horizontalAdvance(u"10 000"_s));
}

TEST(FileListPanelAdding, RemovedWhileAnalysedThenClosedWhileProbing)
{
    REQUIRE_CLIPS();
    QTemporaryDir dir;
    const QStringList clips{
        Copy(MadeClips().mkv, dir.filePath("a.mkv")), Copy(MadeClips().mkv, dir.filePath("b.mkv"))};
    {
        FileListPanel panel;
        panel.setParams(Params(faQuick));
        panel.addFiles(clips);
        View(panel)->selectRow(0);
        panel.removeSelected(); // its analysis is queued or running
        ASSERT_TRUE(WaitIdle(panel));
        ASSERT_EQ(Names(panel), QStringList{"b.mkv"});
        EXPECT_EQ(panel.rows()[0].analysis.videoCodec, "AVC");
        panel.undoRemove();
        ASSERT_TRUE(WaitIdle(panel));
        ASSERT_EQ(Names(panel), QStringList({"a.mkv", "b.mkv"}));
        EXPECT_EQ(panel.rows()[0].analysis.videoCodec, "AVC");
    }

    // An FFmpeg that hangs: closing does not wait for it.
    const QString script = dir.filePath("script.txt");
    ASSERT_TRUE(TestSupport::WriteFile(script, "[first]\nq:ignore\nsleep:60000\n"));
    qputenv("QLN_FAKE_FFMPEG_SCRIPT", QFile::encodeName(script));
    TAppParams params = Params(faFull);
    params.ffmpeg = TestSupport::ToolPath("fake_ffmpeg");
    QStringList many = clips;
    for (int i = 0; i < 8; ++i)
        many.append(Copy(MadeClips().mkv, dir.filePath(u"c%1.mkv"_s.arg(i))));
    auto panel = std::make_unique<FileListPanel>();
    panel->setParams(params);
    panel->addFiles(many);
    QTest::qWait(500);
    ASSERT_TRUE(panel->isBusy());
    QElapsedTimer closing;
    closing.start();
    panel.reset();
    EXPECT_LT(closing.elapsed(), 5000);
    qunsetenv("QLN_FAKE_FFMPEG_SCRIPT");
}

// Each row's expected size follows the settings without a new analysis,
// rows analysed later get theirs, and the footer adds up the checked ones
// against the free space of their output folder.
TEST(FileListPanelAdding, ExpectedSizesFollowTheSettingsAndTheFooterWarnsWhenTheyDoNotFit)
{
    REQUIRE_CLIPS();
    QTemporaryDir out;
    EncodingSettings s = DefaultEncodingSettings(TAppStrings(), AviCodec::Xvid);
    s.cbAviVideoBitrate = u"800"_s;
    s.cbAudioCodec = AudioCodec::Mp3;
    s.cbAudioBitrate = u"128"_s;
    s.rbOutDir = true;
    s.edOutDir = out.path();
    const EncodingLists lists
        = BuildEncodingLists(TAppStrings(), u"/nonexistent/r.txt"_s, u"/nonexistent/f.txt"_s);
    FileListPanel panel;
    panel.setParams(Params(faFull));
    panel.setOutputSettings(s, lists); // before the analyses arrive
    panel.addFiles({MadeClips().mkv, MadeClips().avi});
    ASSERT_TRUE(WaitIdle(panel));
    const auto sizes
        = [&] { return std::pair(panel.rows()[0].expectedSize, panel.rows()[1].expectedSize); };
    // Two seconds at 800 + 128 kbit/s, and a few kilobytes of AVI.
    const auto [first, second] = sizes();
    EXPECT_GT(first, 232000);
    EXPECT_LT(first, 232000 + 20000);
    EXPECT_GT(second, 232000);

    s.cbAviVideoBitrate = u"1600"_s;
    panel.setOutputSettings(s, lists);
    // 800 kbit/s more over the clip's duration.
    const double seconds = panel.rows()[0].analysis.duration / 1000;
    EXPECT_NEAR(double(sizes().first), double(first) + 800 * 125 * seconds, 2);
    auto *footer = panel.findChild<FileListFooterBar *>();
    ASSERT_TRUE(footer);
    QTest::qWait(50); // the footer follows once per turn of the event loop
    const QString total = footer->texts()[colExpectedSize];
    EXPECT_TRUE(total.startsWith(FormatSize(sizes().first + sizes().second) + u"  ("_s))
        << total.toStdString();
    EXPECT_TRUE(total.endsWith(u" free)"_s)) << total.toStdString();
    EXPECT_FALSE(footer->warned());

    // More than any disk holds: the footer turns to the warning colour.
    s.cbAviVideoBitrate = u"2000000000"_s;
    panel.setOutputSettings(s, lists);
    QTest::qWait(50);
    EXPECT_TRUE(footer->warned());
    panel.uncheckAll();
    QTest::qWait(50);
    EXPECT_FALSE(footer->warned());
    EXPECT_TRUE(footer->texts()[colExpectedSize].isEmpty());
}
