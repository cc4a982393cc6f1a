#include "CliTestSupport.h"
#include "cli/EncodingOptions.h"
#include "encoding/Profiles.h"
#include "encoding/SettingsLists.h"
#include "filelist/InputFilter.h"
#include "i18n/AppStrings.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using TestSupport::CliRun;
using TestSupport::RunCli;

TEST(EncodingOptions, ParsedIntoTheSettings)
{
    TAppStrings strings;
    QTemporaryDir dir;
    const QString list = dir.filePath(u"files.lst"_s);
    ASSERT_TRUE(TestSupport::WriteFile(list, "/v/a.mkv\r\n./b.mkv\r\n"));
    const QString profile = dir.filePath(u"p.ini"_s);
    EncodingSettings saved;
    saved.cbAviVideoCodec = AviCodec::Wmv2;
    saved.cbAudioCodec = AudioCodec::Mp2;
    ASSERT_TRUE(SaveProfile(profile, saved, strings));

    EncodingOptions options;
    QString error;
    ASSERT_TRUE(ParseEncodingOptions(
        {u"x.mkv"_s, u"--set"_s, u"AVI.VideoCodec=H.264"_s, u"--profile"_s, profile,
            u"--audio-track"_s, u"2"_s, u"--list"_s, list, u"--if-exists"_s, u"SKIP"_s,
            u"--out-dir"_s, u"/out"_s, u"--preview"_s, u"p.mkv"_s, u"--"_s, u"--odd.mkv"_s},
        {u"--preview"_s}, {strings, AviCodec::Xvid}, options, &error))
        << error.toStdString();
    // --set applies after --profile whatever their order.
    EXPECT_EQ(options.settings.cbAviVideoCodec, AviCodec::H264);
    EXPECT_EQ(options.settings.cbAudioCodec, AudioCodec::Mp2);
    EXPECT_EQ(options.settings.cbAudioTrackNo, 2);
    EXPECT_EQ(options.settings.cbOutputExists, OutputExists::Skip);
    EXPECT_TRUE(options.settings.rbOutDir);
    EXPECT_EQ(options.settings.edOutDir, u"/out"_s);
    EXPECT_EQ(options.inputs, (QStringList{u"x.mkv"_s, u"/v/a.mkv"_s, u"b.mkv"_s, u"--odd.mkv"_s}));
    EXPECT_EQ(options.extra.value(u"--preview"_s), u"p.mkv"_s);

    EncodingOptions defaults;
    ASSERT_TRUE(ParseEncodingOptions({}, {}, {strings, AviCodec::H264}, defaults, &error));
    EXPECT_EQ(defaults.settings.cbAviVideoCodec, AviCodec::H264);
    EXPECT_FALSE(defaults.settings.rbOutDir);
    EXPECT_EQ(defaults.settings.cbOutputExists, OutputExists::Rename);
    EXPECT_EQ(defaults.settings.cbAviVideoBitrate, u"Auto"_s);
}

TEST(EncodingOptions, EveryKeyTheCompletionsOfferIsTakenBySet)
{
    TAppStrings strings;
    const QStringList keys = SetOptionKeys();
    EXPECT_TRUE(keys.contains(u"AVI.VideoCodec"_s) && keys.contains(u"ADVANCED.RotateValue"_s));
    QStringList args;
    for (const QString &key : keys)
        args << u"--set"_s << key + u"=1"_s;
    EncodingOptions options;
    QString error;
    EXPECT_TRUE(ParseEncodingOptions(args, {}, {strings, 0}, options, &error))
        << error.toStdString();
}

TEST(EncodingOptions, InvalidArguments)
{
    TAppStrings strings;
    const QStringList cases[] = {
        {u"--bogus"_s}, {u"--preview"_s, u"x.mkv"_s}, // not an option of this caller
        {u"--profile"_s, u"/nonexistent/p.ini"_s}, {u"--set"_s, u"VideoCodec=H.264"_s},
        {u"--set"_s, u"AVI.NoSuchKey=1"_s}, {u"--audio-track"_s, u"x"_s},
        {u"--audio-track"_s, u"49"_s}, {u"--if-exists"_s, u"ask"_s},
        {u"--list"_s, u"/nonexistent/files.lst"_s},
        {u"--list"_s, u"/dev/zero"_s}, // ends at the line cap, not out of memory
    };
    for (const QStringList &args : cases) {
        EncodingOptions options;
        QString error;
        EXPECT_FALSE(ParseEncodingOptions(args, {}, {strings, 0}, options, &error))
            << args.join(u' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(EncodingOptions, InputsFilteredLikeTheList)
{
    QTemporaryDir dir;
    ASSERT_TRUE(TestSupport::WriteFile(dir.filePath(u"a.mkv"_s), "x"));
    ASSERT_TRUE(TestSupport::WriteFile(dir.filePath(u"b.MP4"_s), "x"));
    ASSERT_TRUE(TestSupport::WriteFile(dir.filePath(u"notes.txt"_s), "x"));
    ASSERT_EQ(::symlink(dir.filePath(u"a.mkv"_s).toLocal8Bit().constData(),
                  dir.filePath(u"link.mkv"_s).toLocal8Bit().constData()),
        0);
    QDir().mkpath(dir.filePath(u"folder.mkv"_s));
    QStringList notes;
    const QStringList files = FilterInputFiles(
        {dir.filePath(u"a.mkv"_s), dir.filePath(u"notes.txt"_s), dir.filePath(u"missing.mkv"_s),
            QString(), dir.filePath(u"b.MP4"_s), dir.filePath(u"link.mkv"_s),
            dir.filePath(u"./a.mkv"_s), dir.filePath(u"folder.mkv"_s)},
        &notes);
    EXPECT_EQ(files, (QStringList{dir.filePath(u"a.mkv"_s), dir.filePath(u"b.MP4"_s)}));
    ASSERT_EQ(notes.size(), 5);
    EXPECT_TRUE(notes[0].contains(u"not a supported media file"_s));
    EXPECT_TRUE(notes[1].contains(u"no such file"_s));
    EXPECT_TRUE(notes[2].contains(u"already listed"_s));
    EXPECT_TRUE(notes[3].contains(u"already listed"_s));
    EXPECT_TRUE(notes[4].contains(u"no such file"_s));
}

// The subcommand end to end, on generated media and the real FFmpeg.
class CommandCli : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_ffmpeg = TestSupport::SystemFFmpeg();
        if (s_ffmpeg.isEmpty())
            return;
        s_dir = new QTemporaryDir;
        QProcess ffmpeg;
        ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
        ffmpeg.start(s_ffmpeg,
            {u"-hide_banner"_s, u"-loglevel"_s, u"error"_s, u"-y"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                u"testsrc=size=160x120:rate=25:duration=1"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                u"sine=sample_rate=48000:duration=1"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                u"sine=sample_rate=44100:duration=1"_s, u"-map"_s, u"0:v"_s, u"-map"_s, u"1:a"_s,
                u"-map"_s, u"2:a"_s, u"-c:v"_s, u"mpeg4"_s, u"-c:a:0"_s, u"ac3"_s, u"-ac:a:0"_s,
                u"6"_s, u"-c:a:1"_s, u"mp2"_s, s_dir->filePath(u"clip.mkv"_s)});
        if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
            return;
        s_clip = s_dir->filePath(u"clip.mkv"_s);
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override
    {
        if (s_clip.isEmpty())
            QLN_SKIP_MISSING() << "needs ffmpeg";
        ASSERT_TRUE(m_work.isValid());
    }

    // A copy of the clip under name inside this test's folder.
    QString clip(const QString &name) const
    {
        QString path = m_work.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(QFile::copy(s_clip, path));
        return path;
    }
    CliRun command(const QStringList &args) const
    {
        return RunCli(QStringList{u"--ffmpeg"_s, s_ffmpeg, u"command"_s} + args, m_work.path());
    }

    static inline QString s_ffmpeg, s_clip;
    static inline QTemporaryDir *s_dir = nullptr;
    QTemporaryDir m_work;
};

QStringList Lines(const QString &out)
{
    QStringList lines = out.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

TEST_F(CommandCli, OneLinePerPassAndNothingElse)
{
    const QString a = clip(u"a.mkv"_s);
    const QString b = clip(u"sub/-b \"q\" $(x).mkv"_s);
    const CliRun run = command({a, b, u"--set"_s, u"AVI.VideoCodec=H.264"_s, u"--set"_s,
        u"AVI.Video2Pass=1"_s, u"--audio-track"_s, u"2"_s});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
    for (int pass = 0; pass < 4; ++pass) {
        const QString &input = pass < 2 ? a : b;
        const QString output = input.left(input.size() - 3) + u"avi"_s;
        EXPECT_TRUE(lines[pass].startsWith(u"-y -i \""_s + input + u"\" -c:v libx264 -threads "_s))
            << lines[pass].toStdString();
        EXPECT_TRUE(lines[pass].endsWith(
            u"-map 0:0 -map 0:2 -preset:v faster -pass %1  \""_s.arg(pass % 2 + 1) + output + u'"'))
            << lines[pass].toStdString();
    }
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST_F(CommandCli, ExistingOutputsAndOutputFolder)
{
    const QString a = clip(u"a.mkv"_s);
    ASSERT_TRUE(TestSupport::WriteFile(m_work.filePath(u"a.avi"_s), "old"));

    CliRun run = command({a});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.endsWith(u'"' + m_work.filePath(u"a_001.avi"_s) + u"\"\n"_s))
        << run.out.toStdString();

    run = command({a, u"--if-exists"_s, u"overwrite"_s});
    EXPECT_TRUE(run.out.endsWith(u'"' + m_work.filePath(u"a.avi"_s) + u"\"\n"_s));

    run = command({a, u"--if-exists"_s, u"skip"_s});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains(u"skipped"_s)) << run.err.toStdString();

    run = command({u"--out-dir"_s, u"out/deeper/"_s, u"a.mkv"_s});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.endsWith(u'"' + m_work.filePath(u"out/deeper/a.avi"_s) + u"\"\n"_s))
        << run.out.toStdString();
    EXPECT_TRUE(QFileInfo(m_work.filePath(u"out/deeper"_s)).isDir());

    ASSERT_TRUE(TestSupport::WriteFile(m_work.filePath(u"blocker"_s), "x"));
    run = command({u"--out-dir"_s, m_work.filePath(u"blocker/sub"_s), a});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains(u"Couldn't create directory"_s)) << run.err.toStdString();
}

// Two seasons with the same episode names, with the real FFmpeg: every
// command keeps their folders below the inputs' common folder (or the root
// given), and the script makes the folders it writes into.
TEST_F(CommandCli, AKeptTreeMirrorsTheSubfoldersInEveryCommand)
{
    const QStringList inputs{clip(u"Show/Season1/E01.mkv"_s), clip(u"Show/Season2/E01.mkv"_s)};
    const auto expected = [this](const QString &out) {
        return QStringList{m_work.filePath(out + u"/Season1/E01.avi"_s),
            m_work.filePath(out + u"/Season2/E01.avi"_s)};
    };
    const auto lastPaths = [](const QString &lines) {
        QStringList paths;
        for (const QString &line : lines.split(u'\n', Qt::SkipEmptyParts))
            paths << line.section(u'"', -2, -2);
        return paths;
    };

    CliRun run = command(QStringList{u"--out-dir"_s, u"Out"_s, u"--keep-tree"_s} + inputs);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(lastPaths(run.out), expected(u"Out"_s));
    run = command(QStringList{u"--out-dir"_s, u"Out"_s, u"--tree-root"_s, m_work.path()} + inputs);
    EXPECT_EQ(lastPaths(run.out), expected(u"Out/Show"_s));
    // Beside the inputs a tree is kept anyway: asking for one is a mistake.
    run = command(QStringList{u"--keep-tree"_s} + inputs);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(u"--keep-tree needs --out-dir"_s)) << run.err.toStdString();

    run = RunCli({u"--ffmpeg"_s, s_ffmpeg, u"convert"_s, u"--out-dir"_s, u"Converted"_s,
                     u"--keep-tree"_s, u"--"_s, inputs[0], inputs[1]},
        m_work.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const QString &output : expected(u"Converted"_s))
        EXPECT_GT(QFileInfo(output).size(), 1000) << output.toStdString();
    EXPECT_FALSE(QFileInfo::exists(m_work.filePath(u"Converted/E01.avi"_s)));

    const QString script = m_work.filePath(u"convert.sh"_s);
    run = RunCli({u"--ffmpeg"_s, s_ffmpeg, u"script"_s, u"-o"_s, script, u"--out-dir"_s,
                     u"Scripted"_s, u"--keep-tree"_s, u"--"_s, inputs[0], inputs[1]},
        m_work.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(m_work.filePath(u"Scripted/Season1"_s)));
    QProcess sh;
    sh.setWorkingDirectory(m_work.path());
    sh.start(u"sh"_s, {script});
    ASSERT_TRUE(sh.waitForFinished(60000));
    EXPECT_EQ(sh.exitCode(), 0) << sh.readAllStandardError().toStdString();
    for (const QString &output : expected(u"Scripted"_s))
        EXPECT_GT(QFileInfo(output).size(), 1000) << output.toStdString();
}

// plan names the outputs as a run would and adds up what they will weigh:
// a copied video its own size, the rest as the command's bitrates give it.
TEST_F(CommandCli, PlanListsEachOutputWithItsSizeTheTotalAndTheFreeSpace)
{
    const QStringList inputs{clip(u"Show/S1/a.mkv"_s), clip(u"Show/S2/b.mkv"_s)};
    const CliRun run = RunCli(
        QStringList{u"--ffmpeg"_s, s_ffmpeg, u"plan"_s, u"--out-dir"_s, u"Out"_s, u"--keep-tree"_s,
            u"--set"_s, u"AVI.VideoBitrate=800"_s, u"--set"_s, u"AUDIO.AudioBitrate=128"_s}
            + inputs,
        m_work.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << run.out.toStdString();
    int64_t sum = 0;
    for (int i = 0; i < 2; ++i) {
        const QStringList cells = lines[i].split(u'\t');
        ASSERT_EQ(cells.size(), 4);
        EXPECT_EQ(cells[0], u"file"_s);
        EXPECT_EQ(cells[3], m_work.filePath(i == 0 ? u"Out/S1/a.avi"_s : u"Out/S2/b.avi"_s));
        // One second at 800 + 128 kbit/s, and the AVI's own few kilobytes.
        const int64_t bytes = cells[1].toLongLong();
        EXPECT_GT(bytes, 116000);
        EXPECT_LT(bytes, 116000 + 20000);
        sum += bytes;
    }
    EXPECT_TRUE(lines[2].startsWith(u"total\t"_s + QString::number(sum) + u'\t'));
    EXPECT_TRUE(lines[3].startsWith(u"free\t"_s));
    EXPECT_TRUE(lines[3].endsWith(u'\t' + m_work.filePath(u"Out/S1"_s)));
    EXPECT_TRUE(lines[4].endsWith(u'\t' + m_work.filePath(u"Out/S2"_s)));
    EXPECT_FALSE(QFileInfo::exists(m_work.filePath(u"Out/S1"_s))); // only a plan
}

TEST_F(CommandCli, InputsFromListsWithNotes)
{
    const QString a = clip(u"a.mkv"_s);
    clip(u"b.mkv"_s);
    ASSERT_TRUE(TestSupport::WriteFile(m_work.filePath(u"files.lst"_s),
        (a + u"\r\n./b.mkv\r\n\r\nreadme.txt\r\nmissing.mkv\r\n"_s).toUtf8()));
    const CliRun run
        = command({u"--list"_s, u"files.lst"_s, a, u"--set"_s, u"MAIN.OutputFormat=MPG"_s});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(m_work.filePath(u"a.mpg\""_s)));
    EXPECT_TRUE(lines[1].endsWith(m_work.filePath(u"b.mpg\""_s)));
    EXPECT_EQ(Lines(run.err).size(), 3) << run.err.toStdString(); // readme, missing, duplicate
}

TEST_F(CommandCli, InvalidValueGivesStatus2)
{
    const QString a = clip(u"a.mkv"_s);
    CliRun run = command({a, u"--set"_s, u"AVI.VideoFPS=fast"_s});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err, u"Video FPS: fast\nFPS must be a float value!\n"_s);

    run = command({a, u"--if-exists"_s, u"never"_s});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
}

TEST_F(CommandCli, Preview)
{
    const QString a = clip(u"a b.mkv"_s);
    CliRun run = command({u"--preview"_s, u"a b.mkv"_s});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(u"-y -i \""_s + a + u"\" -c:v libxvid "_s));
    EXPECT_TRUE(run.out.endsWith(u" -async 1 <output_file>\n"_s)) << run.out.toStdString();

    run = command({u"--preview"_s, a, u"--set"_s, u"AVI.Video2Pass=1"_s, u"--set"_s,
        u"AVI.VideoCodec=WMV1"_s, u"--set"_s, u"AUDIO.AudioCodec=MP3"_s});
    const QStringList lines = run.out.split(u'\n');
    ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
    EXPECT_TRUE(lines[0].contains(u" -pass 1 "_s));
    EXPECT_TRUE(lines[1].isEmpty());
    EXPECT_TRUE(lines[2].contains(u" -pass 2 "_s));

    run = command({u"--preview"_s, a, u"--set"_s, u"AVI.VideoFPS=x"_s});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.contains(u"<output_file>"_s));
    EXPECT_TRUE(run.err.startsWith(u"Video FPS: x"_s));
}

TEST_F(CommandCli, BuildWithoutAnEncoderIsReported)
{
    // An FFmpeg that knows no Xvid and says nothing about files.
    const QString fake = m_work.filePath(u"fake-ffmpeg"_s);
    ASSERT_TRUE(TestSupport::WriteFile(fake,
        "#!/bin/sh\n[ \"$2\" = \"-encoders\" ] && printf ' ------\\n V..... mpeg4 x\\n A..... ac3 "
        "x\\n A..... libmp3lame x\\n'\nexit 0\n"));
    QFile::setPermissions(fake, QFile::permissions(fake) | QFile::ExeOwner);
    const QString a = clip(u"a.mkv"_s);
    const CliRun run = RunCli({u"--ffmpeg"_s, fake, u"command"_s, a}, m_work.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(u"\"libxvid\""_s)) << run.err.toStdString();
    EXPECT_EQ(Lines(run.out).size(), 1);
}

TEST_F(CommandCli, ANameThatIsNotUtf8IsAFailure)
{
    const QString a = clip(u"a.mkv"_s);
    const QByteArray bad = QFile::encodeName(m_work.path()) + "/\xff\xfe.mkv";
    ASSERT_TRUE(RawCli::Touch(bad, TestSupport::ReadFile(s_clip)));
    const QByteArray ffmpeg = QFile::encodeName(s_ffmpeg);

    CliRun run = RawCli::Run({"--ffmpeg", ffmpeg, "command", bad, QFile::encodeName(a)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Lines(run.out).size(), 1) << run.out.toStdString();
    EXPECT_EQ(run.err,
        u"quillon-cli command: skipped \""_s + m_work.path()
            + u"/\\xff\\xfe.mkv\": the name is not valid UTF-8\n"_s);

    run = RawCli::Run({"--ffmpeg", ffmpeg, "command", bad});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    run = RawCli::Run({"--ffmpeg", ffmpeg, "command", "--preview", bad});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains(u"\\xff\\xfe.mkv\": the name is not valid UTF-8"_s))
        << run.err.toStdString();
}

TEST_F(CommandCli, NoFFmpeg)
{
    const QString a = clip(u"a.mkv"_s);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"PATH"_s, u"/nonexistent"_s);
    const CliRun run = RunCli({u"command"_s, a}, m_work.path(), env);
    if (run.exitCode == 0)
        GTEST_SKIP() << "an FFmpeg beside the program or in quillon.ini";
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains(u"FFmpeg"_s)) << run.err.toStdString();
}

} // namespace
