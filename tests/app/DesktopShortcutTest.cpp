#include "app/DesktopShortcut.h"
#include "support/TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using TestSupport::ReadFile;

TEST(DesktopShortcut, ExecQuotesEveryReservedCharacter)
{
    // clang-format off
    const struct { const char *path, *exec; } cases[] = {
        {"/opt/quillon/quillon", "/opt/quillon/quillon"},
        {"/home/a b/quillon", R"("/home/a b/quillon")"},
        {R"(/x/say "hi"/q)", R"("/x/say \\"hi\\"/q")"},
        {"/x/$HOME`id`/q", R"("/x/\\$HOME\\`id\\`/q")"},
        {R"(/x/back\slash/q)", R"("/x/back\\\\slash/q")"},
        {"/x/it's;(1)/q", R"("/x/it's;(1)/q")"},
        {"/x/100%/q", R"(env /x/100%%/q)"},
        {"/x/a b%/q", R"(env "/x/a b%%/q")"},
        {"/x/line\nfeed/q", R"("/x/line\nfeed/q")"},
    };
    // clang-format on
    for (const auto &c : cases) {
        const QString text = QString::fromUtf8(DesktopEntryText(QString::fromUtf8(c.path), "T"));
        EXPECT_TRUE(text.contains("\nExec=" + QString::fromUtf8(c.exec) + "\n"))
            << c.path << "\n"
            << qPrintable(text);
        EXPECT_TRUE(text.contains("\nIcon=quillon\n"));
        EXPECT_TRUE(text.contains("\nTerminal=false\n")); // no console window beside it
    }
    EXPECT_EQ(DesktopEntryEscape(" lead\tx\\"), R"(\slead\tx\\)");
}

TEST(DesktopShortcut, CreatedOnceValidAndStartsTheProgram)
{
    QTemporaryDir dir;
    const QString programDir = dir.filePath(R"(my "odd" $dir\'s)");
    const QString program = programDir + "/quillon";
    ASSERT_TRUE(QDir().mkpath(programDir));
    ASSERT_TRUE(QFile::copy(TestSupport::ToolPath("argv_recorder"), program));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));
    const QString desktop = dir.filePath("home/Desktop");

    ASSERT_EQ(CreateDesktopShortcut(desktop, program, "Quillon 1.10  [64-bit]"),
        DesktopShortcutResult::Created);
    const QString entry = desktop + "/Quillon.desktop";
    const QByteArray text = ReadFile(entry);
    EXPECT_TRUE(QFileInfo(entry).isExecutable());
    EXPECT_TRUE(text.contains("\nComment=Quillon 1.10  [64-bit]\n"));
    EXPECT_TRUE(text.contains("\nPath=" + DesktopEntryEscape(programDir).toUtf8() + "\n"));

    // A second press leaves the existing file alone.
    QFile::setPermissions(entry, QFile::permissions(entry) | QFile::WriteOwner);
    ASSERT_TRUE(TestSupport::WriteFile(entry, "edited"));
    EXPECT_EQ(
        CreateDesktopShortcut(desktop, program, "other"), DesktopShortcutResult::AlreadyThere);
    EXPECT_EQ(ReadFile(entry), "edited");
    ASSERT_TRUE(QFile::remove(entry));
    ASSERT_EQ(CreateDesktopShortcut(desktop, program, "Quillon 1.10  [64-bit]"),
        DesktopShortcutResult::Created);

    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (!validator.isEmpty()) {
        QProcess validate;
        validate.setProcessChannelMode(QProcess::MergedChannels);
        validate.start(validator, {entry});
        ASSERT_TRUE(validate.waitForFinished(30000));
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAll().constData();
    }

    // The desktop's own launcher reads Exec as the rules say.
    const QString gio = QStandardPaths::findExecutable("gio");
    if (gio.isEmpty())
        QLN_SKIP_MISSING() << "gio is not installed: the entry was not started";
    const QString record = dir.filePath("record");
    QProcess launch;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QLN_ARGV_RECORD", record);
    launch.setProcessEnvironment(env);
    launch.setProcessChannelMode(QProcess::MergedChannels);
    launch.start(gio, {"launch", entry});
    ASSERT_TRUE(launch.waitForFinished(30000));
    ASSERT_EQ(launch.exitCode(), 0) << launch.readAll().constData();
    // The recorder makes its file before it writes to it.
    const QDeadlineTimer deadline(10000);
    QByteArray recorded;
    while ((recorded = ReadFile(record)).size() < 2 && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_EQ(recorded, QByteArray("0", 2));
}

TEST(DesktopShortcut, UnwritableDesktopIsAQuietFailure)
{
    QTemporaryDir dir;
    ASSERT_TRUE(TestSupport::WriteFile(dir.filePath("file"), "x"));
    EXPECT_EQ(CreateDesktopShortcut(dir.filePath("file/Desktop"), "/opt/q/quillon", "T"),
        DesktopShortcutResult::Failed);
    EXPECT_EQ(CreateDesktopShortcut({}, "/opt/q/quillon", "T"), DesktopShortcutResult::Failed);
}
