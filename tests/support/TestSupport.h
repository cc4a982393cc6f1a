#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

// Shared helpers of the test programs.
namespace TestSupport {

// Folder of the programs built from tests/tools.
QString ToolsDir();
// Full path of one such program or library.
QString ToolPath(const QString &name);
// tests/fixtures/<relative>.
QString FixturePath(const QString &relative);
// Folder holding quillon, quillon-cli, data/ and lang/.
QString BinDir();

QByteArray ReadFile(const QString &path);
bool WriteFile(const QString &path, const QByteArray &bytes);
// Each name under dir with a few bytes, its folders made as needed.
void MakeFiles(const QString &dir, std::initializer_list<const char *> names);

// The argument vectors tests/tools/argv_recorder wrote, one list per start.
QList<QStringList> RecordedRuns(const QByteArray &record);

// A name for a case of a parameterised test, the same at every run: the
// letters and digits of text, every other run of characters as one "_";
// "blank" when nothing is left.
std::string TestNameOf(const char *text);

// Whether the suite runs in CI (CI=true), where the set-up has installed
// every package that a test uses.
bool RunsInCI();

} // namespace TestSupport

// Ends a test that needs a program or library that is not installed: a skip
// on a contributor's machine, a failure in CI, where it cannot be missing.
// Takes a reason with <<, as GTEST_SKIP does.
#define QLN_SKIP_MISSING()                                                                         \
    return GTEST_MESSAGE_AT_(__FILE__, __LINE__, TestSupport::RunsInCI() ? "missing in CI: " : "", \
        TestSupport::RunsInCI() ? ::testing::TestPartResult::kFatalFailure                         \
                                : ::testing::TestPartResult::kSkip)

#include <QProcessEnvironment>
#include <QStringList>

namespace TestSupport {

// One finished run of the built quillon-cli.
struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs quillon-cli with args (in workDir when given) and waits for it; a run
// that does not end normally within two minutes is a test failure.
CliRun RunCli(const QStringList &args, const QString &workDir = {},
    const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

// The system's FFmpeg and MediaInfo library as an installed program finds
// them (no program folder), looked up once; empty when missing.
const QString &SystemFFmpeg();
const QString &SystemMediaInfo();
// Runs ffmpeg quietly ("-hide_banner -loglevel error -y" first) and waits up
// to a minute; a failure is reported with FFmpeg's output.
bool RunFFmpeg(const QString &ffmpeg, const QStringList &args);

// While it lives, a file of this process cannot grow past bytes: a write
// beyond fails with EFBIG, as on a full disk, for root and users alike.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(long long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    unsigned long long m_old = 0;
};

} // namespace TestSupport
