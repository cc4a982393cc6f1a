#pragma once

#include "UiTestSupport.h"
#include "app/AppParams.h"
#include "support/TestSupport.h"
#include "ui/filelist/FileListPanel.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

// Shared by the file list panel tests: real clips made once per test
// program with the system's FFmpeg, analysed by the system's MediaInfo.
namespace PanelTest {

inline bool RunFFmpeg(const QStringList &args)
{
    return TestSupport::RunFFmpeg(TestSupport::SystemFFmpeg(), args);
}

// clip.mkv: H.264 160x120 25 fps with AAC, 2 s; MediaInfo reports no video
// bit rate for it (so faFull asks FFmpeg). clip.avi: MPEG-4 with MP3, 2 s,
// with a video bit rate.
struct Clips
{
    QString mkv;
    QString avi;
};

inline const Clips &MadeClips()
{
    static QTemporaryDir dir;
    static const Clips clips = [] {
        const QStringList picture{"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=2",
            "-f", "lavfi", "-i", "sine=sample_rate=48000:duration=2"};
        Clips made{dir.filePath("clip.mkv"), dir.filePath("clip.avi")};
        if (!RunFFmpeg(picture
                + QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p",
                    "-c:a", "aac", made.mkv})
            || !RunFFmpeg(picture + QStringList{"-c:v", "mpeg4", "-c:a", "libmp3lame", made.avi}))
            return Clips{};
        return made;
    }();
    return clips;
}

#define REQUIRE_CLIPS()                                                                            \
    if (TestSupport::SystemFFmpeg().isEmpty() || TestSupport::SystemMediaInfo().isEmpty()          \
        || PanelTest::MadeClips().mkv.isEmpty())                                                   \
    QLN_SKIP_MISSING() << "needs ffmpeg and libmediainfo.so.0"

inline TAppParams Params(TFileAnalysis mode)
{
    TAppParams params;
    params.FileAnalysis = mode;
    params.MediaInfoDll = TestSupport::SystemMediaInfo();
    params.ffmpeg = TestSupport::SystemFFmpeg();
    params.DragAcceptDirectories = true;
    params.OpenFileAfterIconClick = true;
    return params;
}

inline bool WaitIdle(const FileListPanel &panel, int ms = 60000)
{
    return QTest::qWaitFor([&] { return !panel.isBusy(); }, ms);
}

inline QString Copy(const QString &from, const QString &to)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    EXPECT_TRUE(QFile::copy(from, to)) << to.toStdString();
    return to;
}

inline void Touch(const QString &path, qsizetype size = 4)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(TestSupport::WriteFile(path, QByteArray(size, 'x'))) << path.toStdString();
}

inline QStringList Names(const FileListPanel &panel)
{
    QStringList names;
    for (const FileListRow &row : panel.rows())
        names.append(row.fileName);
    return names;
}

using UiTest::UrlRecorder;

inline QTableView *View(FileListPanel &panel)
{
    return panel.findChild<QTableView *>();
}

// The middle of a cell, in the view's viewport.
inline QPoint CellCentre(FileListPanel &panel, int row, int column)
{
    return View(panel)->visualRect(View(panel)->model()->index(row, column)).center();
}

} // namespace PanelTest
