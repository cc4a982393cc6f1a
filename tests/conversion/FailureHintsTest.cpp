#include "conversion/FailureHints.h"
#include "conversion/EncoderOutput.h"
#include "i18n/AppStrings.h"
#include "process/ConsoleRunner.h"
#include "support/TestSupport.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// What the distribution's FFmpeg prints for a failing command, filtered as
// the driver filters it.
QStringList filteredOutputOf(const QString &arguments)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    ConsoleRunner runner;
    QStringList output;
    runner.RunConsoleApp(CommandLine(ffmpeg, arguments), &output, {}, {}, ToolAnswerOptions());
    FilterEncoderOutput(output);
    return output;
}

} // namespace

TEST(FailureHints, TellTheCauseFromRealFFmpegMessages)
{
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        QLN_SKIP_MISSING() << "no ffmpeg";
    QTemporaryDir dir;
    const QString video = QStringLiteral("-f lavfi -i testsrc=size=160x120:rate=25:duration=0.2 ");
    const QString audio = QStringLiteral("-f lavfi -i sine=sample_rate=48000:duration=0.2 ");
    const QString out = dir.filePath(QStringLiteral("out.mkv"));
    struct Case
    {
        const char *name;
        QString arguments;
        FailureCause cause;
    };
    const Case cases[] = {
        {"disk full", QStringLiteral("-y ") + video + QStringLiteral("-c:v mpeg4 -f avi /dev/full"),
            FailureCause::NoSpaceLeft},
        {"encoder missing", QStringLiteral("-y ") + audio + QStringLiteral("-c:a libnosuch ") + out,
            FailureCause::EncoderMissing},
        {"H.263 size", QStringLiteral("-y ") + video + QStringLiteral("-c:v h263 -f avi ") + out,
            FailureCause::InvalidFrameSize},
        {"odd width",
            QStringLiteral("-y -f lavfi -i testsrc=size=161x121:rate=25:duration=0.2 "
                           "-c:v libx264 -pix_fmt yuv420p ")
                + out,
            FailureCause::InvalidFrameSize},
        {"sampling rate",
            QStringLiteral("-y ") + audio + QStringLiteral("-c:a mp2 -ar 11025 ") + out,
            FailureCause::UnsupportedAudioFormat},
        {"channels", QStringLiteral("-y ") + audio + QStringLiteral("-c:a ac3 -ac 8 ") + out,
            FailureCause::UnsupportedAudioFormat},
        {"success", QStringLiteral("-y ") + video + QStringLiteral("-c:v mpeg4 ") + out,
            FailureCause::Unknown},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList output = filteredOutputOf(c.arguments);
        EXPECT_EQ(FailureCauseOf(output, true), c.cause) << output.join(u'\n').toStdString();
    }

    // Running as root, the system never refuses: FFmpeg's line as it prints
    // it for an output folder without write permission.
    EXPECT_EQ(FailureCauseOf({QStringLiteral("ro/x.avi: Permission denied")}, true),
        FailureCause::PermissionDenied);
    // An earlier complaint FFmpeg got over is not what stopped it.
    EXPECT_EQ(
        FailureCauseOf({QStringLiteral("ro/x.avi: Permission denied"),
                           QStringLiteral("av_interleaved_write_frame(): No space left on device")},
            true),
        FailureCause::NoSpaceLeft);
    // A text file: FFmpeg's only complaint is filtered away as noise, and the
    // analysis found no stream.
    QFile text(dir.filePath(QStringLiteral("notes.avi")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("hello\n");
    text.close();
    const QStringList notMedia
        = filteredOutputOf(QStringLiteral("-y -i ") + text.fileName() + QStringLiteral(" ") + out);
    EXPECT_EQ(FailureCauseOf(notMedia, false), FailureCause::NotMediaFile);
    EXPECT_EQ(FailureCauseOf(notMedia, true), FailureCause::Unknown);

    const TErrorsModuleStrings &strings = TAppStrings().Errors;
    EXPECT_EQ(FailureHint(FailureCause::NoSpaceLeft, strings), strings.Hint_NoSpaceLeft);
    EXPECT_TRUE(FailureHint(FailureCause::Unknown, strings).isEmpty());
}
