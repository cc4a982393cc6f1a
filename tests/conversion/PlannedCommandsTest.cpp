#include "conversion/PlannedCommands.h"

#include "encoding/CommandTestSupport.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using CommandTest::Inputs;

namespace {

// The copied commands must start FFmpeg with the arguments the run would
// give it, pass options, preset and awkward names included.
TEST(PlannedCommands, ShellTextsGiveFFmpegTheArgumentsOfEachPass)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ffmpeg = dir.filePath(u"ff mpeg"_s);
    ASSERT_TRUE(QFile::copy(TestSupport::ToolPath(u"argv_recorder"_s), ffmpeg));
    QFile(ffmpeg).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString input = dir.filePath(u"it's $HOME `x`.mkv"_s);
    const QString output = dir.filePath(u"-out; \"a\".avi"_s);

    struct Case
    {
        const char *name;
        void (*prepare)(Inputs &);
        int passes;
    };
    const Case cases[] = {
        {"Xvid, one pass", [](Inputs &) {}, 1},
        {"H.264, two passes",
            [](Inputs &t) {
                t.settings.cbAviVideoCodec = AviCodec::H264;
                t.settings.chAviVideo2Pass = true;
                t.settings.meParams = u"-metadata \"title=A  B\" -ss 1"_s;
            },
            2},
    };
    for (const Case &c : cases) {
        Inputs t;
        t.video(640, 480, 25, 0.1, 1000);
        t.audio(2, 48000, 128);
        c.prepare(t);
        const PlannedCommands planned = PlanFileCommands(t.context(), ffmpeg, input, output);
        ASSERT_TRUE(planned.commands.ok) << c.name;
        ASSERT_EQ(planned.commands.passes.size(), c.passes) << c.name;
        ASSERT_EQ(planned.shellTexts.size(), c.passes) << c.name;

        const QString record = dir.filePath(u"argv.record"_s);
        QFile::remove(record);
        QProcess sh;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QLN_ARGV_RECORD"_s, record);
        sh.setProcessEnvironment(env);
        sh.start(u"/bin/sh"_s, {u"-c"_s, planned.shellTexts.join(u'\n')});
        ASSERT_TRUE(sh.waitForFinished(30000)) << c.name;
        EXPECT_EQ(sh.exitCode(), 0) << c.name << sh.readAllStandardError().toStdString();

        const QList<QStringList> runs = TestSupport::RecordedRuns(TestSupport::ReadFile(record));
        ASSERT_EQ(runs.size(), c.passes) << c.name;
        for (int i = 0; i < c.passes; ++i)
            EXPECT_EQ(runs.at(i), planned.commands.passes.at(i).arguments())
                << c.name << ", pass " << i + 1;
    }
}

TEST(PlannedCommands, AFailedPieceGivesNoCommandsAndItsMessage)
{
    Inputs t;
    t.settings.cbAviVideoBitrate = u"x"_s;
    const PlannedCommands planned = PlanFileCommands(
        t.context(), u"/usr/bin/ffmpeg"_s, u"/videos/a.mkv"_s, u"/videos/a.avi"_s);
    EXPECT_FALSE(planned.commands.ok);
    EXPECT_TRUE(planned.shellTexts.isEmpty());
    EXPECT_EQ(t.sink.controls, QStringList{u"cbAviVideoBitrate"_s});
}

} // namespace
