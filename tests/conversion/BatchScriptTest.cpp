#include "conversion/BatchScript.h"

#include "process/CommandLine.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::string str(const QStringList &lines)
{
    return lines.join(QStringLiteral("\n")).toStdString();
}

const BatchPieces H264Pieces{
    "-c:v libx264", "-c:a aac", "-threads 2", "", "-b:v 1000k -vtag H264", "-b:a 128k -ar 44100"};

TEST(BatchScriptBat, TwoPassH264FilesGiveHeaderPiecesAndTwoCommands)
{
    BatchScript script("C:\\Tools\\ffmpeg.exe");
    script.addPieces(1, H264Pieces);
    script.addTwoPass("C:\\in\\a b.mkv", "C:\\out\\a b.avi", true);
    // Row 2 was skipped by the existing-output policy.
    script.addPieces(3, H264Pieces);
    script.addTwoPass("C:\\in\\c.mkv", "C:\\out\\c_001.avi", true);

    const QStringList expected = {
        "@echo off",
        "set ffmpeg=\"C:\\Tools\\ffmpeg.exe\"",
        "set VCodec=-c:v libx264",
        "set ACodec=-c:a aac",
        "set AdvParams=-threads 2",
        "set AddParams=",
        "",
        "rem ///////////////////////////////// file 1 /////////////////////////////////",
        "set VParams=-b:v 1000k -vtag H264",
        "set AParams=-b:a 128k -ar 44100",
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one line, split for its length
        "%ffmpeg% -y -i \"C:\\in\\a b.mkv\" %VCodec% %VParams% %ACodec% %AParams% %AdvParams% "
        "-preset:v faster -pass 1 %AddParams% \"C:\\out\\a b.avi\"",
        "%ffmpeg% -y -i \"C:\\in\\a b.mkv\" %VCodec% %VParams% %ACodec% %AParams% %AdvParams% "
        "-preset:v faster -pass 2 %AddParams% \"C:\\out\\a b.avi\"",
        "set VCodec=-c:v libx264",
        "set ACodec=-c:a aac",
        "set AdvParams=-threads 2",
        "set AddParams=",
        "",
        "rem ///////////////////////////////// file 3 /////////////////////////////////",
        "set VParams=-b:v 1000k -vtag H264",
        "set AParams=-b:a 128k -ar 44100",
        "%ffmpeg% -y -i \"C:\\in\\c.mkv\" %VCodec% %VParams% %ACodec% %AParams% %AdvParams% "
        "-preset:v faster -pass 1 %AddParams% \"C:\\out\\c_001.avi\"",
        "%ffmpeg% -y -i \"C:\\in\\c.mkv\" %VCodec% %VParams% %ACodec% %AParams% %AdvParams% "
        "-preset:v faster -pass 2 %AddParams% \"C:\\out\\c_001.avi\"",
        "",
        "pause",
    };
    const QStringList lines = script.finish().batLines();
    EXPECT_EQ(lines, expected) << str(lines);
}

TEST(BatchScriptBat, SinglePassJoints)
{
    struct Case
    {
        bool preset;
        QString command;
    };
    for (const Case &c :
        {Case{true,
             "%ffmpeg% -y -i \"a.mkv\" %VCodec% %VParams% %ACodec% %AParams% %AdvParams% "
             "-preset:v faster %AddParams% \"a.avi\""},
            Case{false,
                "%ffmpeg% -y -i \"a.mkv\" %VCodec% %VParams% %ACodec% %AParams% "
                "%AdvParams% %AddParams% \"a.avi\""}}) {
        BatchScript script("ffmpeg.exe");
        script.addPieces(1, H264Pieces);
        script.addSinglePass("a.mkv", "a.avi", c.preset);
        const QStringList lines = script.finish().batLines();
        ASSERT_EQ(lines.size(), 13);
        EXPECT_EQ(lines.at(10), c.command);
        EXPECT_EQ(lines.mid(11), (QStringList{"", "pause"}));
    }
}

TEST(BatchScriptBat, KeepsPercentSignsInPaths)
{
    BatchScript script("C:\\100% tools\\ffmpeg.exe");
    script.addPieces(1, H264Pieces);
    script.addSinglePass("C:\\in\\50%off%.mkv", "C:\\out\\50%off%.avi", false);
    const QStringList lines = script.finish().batLines();
    EXPECT_EQ(lines.at(1), "set ffmpeg=\"C:\\100%% tools\\ffmpeg.exe\"");
    EXPECT_TRUE(lines.at(10).startsWith("%ffmpeg% -y -i \"C:\\in\\50%%off%%.mkv\" %VCodec%"));
    EXPECT_TRUE(lines.at(10).endsWith("%AddParams% \"C:\\out\\50%%off%%.avi\""));
}

TEST(BatchScriptFile, FormatFollowsTheNameAndBatUsesCrLf)
{
    EXPECT_EQ(BatchScriptFormatOf("/x/run.BAT"), BatchScriptFormat::Bat);
    EXPECT_EQ(BatchScriptFormatOf("/x/run.sh"), BatchScriptFormat::Sh);
    EXPECT_EQ(BatchScriptFormatOf("/x/run"), BatchScriptFormat::Sh);
    // The type chosen in the save dialog gives a bare name its extension.
    EXPECT_EQ(BatchScriptFileNameFor("/x/run", BatchScriptFormat::Bat), "/x/run.bat");
    EXPECT_EQ(BatchScriptFileNameFor("/x/run.v2", BatchScriptFormat::Sh), "/x/run.v2.sh");
    EXPECT_EQ(BatchScriptFileNameFor("/x/run.SH", BatchScriptFormat::Bat), "/x/run.SH");
    EXPECT_EQ(BatchScriptFileNameFor("/x/run.bat", BatchScriptFormat::Sh), "/x/run.bat");

    QTemporaryDir dir;
    BatchScript script("/usr/bin/ffmpeg");
    script.addPieces(1, H264Pieces);
    script.addSinglePass("/in/\xc3\xa9t\xc3\xa9.mkv", "/out/\xc3\xa9t\xc3\xa9.avi", false);
    const FinishedBatchScript finished = script.finish();

    ASSERT_TRUE(finished.save(dir.filePath("run.bat")));
    const QByteArray bat = TestSupport::ReadFile(dir.filePath("run.bat"));
    EXPECT_TRUE(bat.startsWith("@echo off\r\nset ffmpeg=\"/usr/bin/ffmpeg\"\r\n"));
    EXPECT_TRUE(bat.endsWith("\r\n\r\npause\r\n"));
    EXPECT_TRUE(bat.contains("\"/in/\xc3\xa9t\xc3\xa9.mkv\""));
    EXPECT_FALSE(QFileInfo(dir.filePath("run.bat")).isExecutable());

    ASSERT_TRUE(finished.save(dir.filePath("run.sh")));
    const QFileInfo sh(dir.filePath("run.sh"));
    EXPECT_TRUE(sh.isExecutable());
    EXPECT_FALSE(TestSupport::ReadFile(sh.filePath()).contains('\r'));

    QString error;
    EXPECT_FALSE(finished.save(dir.filePath("missing/run.sh"), &error));
    EXPECT_FALSE(error.isEmpty());

    // Saving replaces a file: never a pipe, a device or a folder.
    const QString fifo = dir.filePath("fifo.sh");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &target : {fifo, dir.path()}) {
        error.clear();
        EXPECT_FALSE(finished.save(target, &error)) << target.toStdString();
        EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();
    }
    struct stat st;
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// The arguments the program itself would pass for one pass.
QStringList programArguments(
    const BatchPieces &p, const QString &in, const QString &out, const QString &joint)
{
    CommandLine command(QStringLiteral("ffmpeg"));
    command.appendText(QStringLiteral("-y -i "));
    command.appendFileName(in);
    command.appendText(u' ' + p.VCodec + u' ' + p.VParams + u' ' + p.ACodec + u' ' + p.AParams
        + u' ' + p.AdvParams + joint);
    command.appendText(p.AddParams);
    command.appendText(QStringLiteral(" "));
    command.appendFileName(out);
    return command.arguments();
}

TEST(BatchScriptSh, EveryFileNameReachesTheProgramUnchanged)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Something for a stray "*" to match.
    ASSERT_TRUE(TestSupport::WriteFile(dir.filePath("a1"), "x"));
    const QString toolDir = dir.filePath("tools $HOME 'q' `x`");
    ASSERT_TRUE(QDir().mkpath(toolDir));
    const QString ffmpeg = toolDir + "/ff mpeg";
    ASSERT_TRUE(QFile::copy(TestSupport::ToolPath("argv_recorder"), ffmpeg));
    QFile(ffmpeg).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QStringList names = {
        "with blanks.mkv",
        "it's \"quoted\".mkv",
        "$HOME and $(echo hi) `date` ${x}.mkv",
        "semi;colon && true | cat > out < in.mkv",
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): the escape must end before "b"
        "\xc3\x9c"
        "berfall \xe6\x9d\xb1\xe4\xba\xac.mkv",
        "-leading dash.mkv",
        "star*?[a] ~tilde #hash 100%.mkv",
        "back\\slash\ttab.mkv",
        "new\nline.mkv",
    };
    const BatchPieces plain{"-c:v mpeg4", "-c:a libmp3lame", "-map 0:v:0 -map 0:a:0? *",
        "-metadata title=It's $HOME", "-b:v 1000k -vtag XVID", "-b:a 128k"};
    const BatchPieces quoted{"-c:v libx264", "-c:a aac", "-threads 2",
        "-metadata \"title=A  B\" -metadata \"comment=\" x\"y z\"",
        "-vf \"scale=320:240, setsar=1\"", ""};

    BatchScript script(ffmpeg);
    QList<QStringList> expected;
    // The same commands, each on its own: what the command-line window copies.
    QString commands;
    int fileNo = 0;
    for (const QString &name : names) {
        const QString in = dir.filePath(name);
        const QString out = dir.filePath("out " + name + ".avi");
        const BatchPieces &pieces = ++fileNo % 2 ? plain : quoted;
        script.addPieces(fileNo, pieces);
        if (fileNo % 3 == 0) {
            script.addTwoPass(in, out, true);
            expected << programArguments(pieces, in, out, " -preset:v faster -pass 1 ")
                     << programArguments(pieces, in, out, " -preset:v faster -pass 2 ");
            for (int pass = 1; pass <= 2; ++pass)
                commands += ShellCommandText(ffmpeg, pieces, {in, out, true, pass}) + '\n';
        } else {
            const bool h264 = fileNo % 2 == 0;
            script.addSinglePass(in, out, h264);
            expected << programArguments(
                pieces, in, out, QLatin1String(h264 ? " -preset:v faster " : " "));
            commands += ShellCommandText(ffmpeg, pieces, {in, out, h264, 0}) + '\n';
        }
    }
    // A relative name with a leading "-" is made unmistakable for FFmpeg.
    script.addPieces(++fileNo, plain);
    script.addSinglePass("-in.mkv", "-out.avi", false);
    expected << programArguments(plain, "./-in.mkv", "./-out.avi", " ");
    commands += ShellCommandText(ffmpeg, plain, {"-in.mkv", "-out.avi", false, 0}) + '\n';

    const QString scriptPath = dir.filePath("convert.sh");
    ASSERT_TRUE(script.finish().save(scriptPath));

    const QString record = dir.filePath("argv.record");
    QProcess sh;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QLN_ARGV_RECORD", record);
    env.insert("HOME", "/home/nobody");
    sh.setProcessEnvironment(env);
    sh.setWorkingDirectory(dir.path());
    sh.setStandardInputFile(QProcess::nullDevice());
    // Started as a program: the run bit and the first line must do.
    sh.start(scriptPath, {});
    ASSERT_TRUE(sh.waitForFinished(30000));
    EXPECT_EQ(sh.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sh.exitCode(), 0) << sh.readAllStandardError().toStdString();

    // The copied commands, run by a shell without "set -f".
    const QString copied = dir.filePath("copied.record");
    env.insert("QLN_ARGV_RECORD", copied);
    sh.setProcessEnvironment(env);
    sh.start("/bin/sh", {"-c", commands});
    ASSERT_TRUE(sh.waitForFinished(30000));
    EXPECT_EQ(sh.exitCode(), 0) << sh.readAllStandardError().toStdString();

    for (const QString &recorded : {record, copied}) {
        const QList<QStringList> runs = TestSupport::RecordedRuns(TestSupport::ReadFile(recorded));
        ASSERT_EQ(runs.size(), expected.size()) << recorded.toStdString();
        for (qsizetype i = 0; i < runs.size(); ++i)
            EXPECT_TRUE(runs.at(i) == expected.at(i)) << "run " << i << ":\n"
                                                      << str(runs.at(i)) << "\nexpected:\n"
                                                      << str(expected.at(i));
    }
    // Both leave the names alone: nothing was created or run.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

} // namespace
