#include "cli/Cli.h"

#include "app/AppInfo.h"
#include "app/AppStartup.h"
#include "app/IniFile.h"
#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "app/TextHelpers.h"
#include "app/ToolKeys.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/EncodingOptions.h"
#include "filelist/SupportedExtensions.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

// The first error of standard output (an errno value), reported once at the
// end of the run.
int g_stdoutError = 0;

} // namespace

void PrintOut(const QString &text)
{
    // After a failure nothing more is tried: the run's result is already
    // lost, and the exit status will say so.
    if (g_stdoutError != 0)
        return;
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())
        || std::fflush(stdout) != 0)
        g_stdoutError = errno != 0 ? errno : EIO;
}

void PrintErr(const QString &text)
{
    const QByteArray bytes = EscapedNonUtf8Name(text).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

namespace {

QString UsageText()
{
    QString text = QStringLiteral(
        "Usage: quillon-cli [--ffmpeg PATH] [--mediainfo PATH] COMMAND [ARGS]\n"
        "       quillon-cli --version | --help\n"
        "\n"
        "Global options:\n"
        "  --ffmpeg PATH      use this FFmpeg program (like the ffmpeg key of quillon.ini)\n"
        "  --mediainfo PATH   use this MediaInfo library (like the MediaInfoDll key)\n");
    const auto commands = CliCommands();
    if (!commands.empty()) {
        text += QStringLiteral("\nCommands:\n");
        for (const CliCommand &command : commands) {
            text += QStringLiteral("  %1%2\n      %3\n")
                        .arg(QLatin1String(command.name),
                            *command.usage ? u' ' + QLatin1String(command.usage) : QString(),
                            QLatin1String(command.summary));
        }
    }
    return text;
}

const CliCommand *FindCommand(const QString &name)
{
    for (const CliCommand &command : CliCommands())
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

// The options override the tool paths exactly as the keys of quillon.ini do.
bool ApplyToolOptions(TAppParams &params, const QString &ffmpeg, const QString &mediaInfo)
{
    if (ffmpeg.isEmpty() && mediaInfo.isEmpty())
        return true;
    bool ok = true;
    IniFile keys;
    keys.writeBool(QStringLiteral("MAIN"), QStringLiteral("EscExit"), params.EscExit);
    keys.writeString(QStringLiteral("MAIN"), QStringLiteral("WebSite"), params.WebSite);
    if (!ffmpeg.isEmpty()) {
        keys.writeString(QStringLiteral("MAIN"), QStringLiteral("ffmpeg"), ffmpeg);
        if (!QFileInfo(ffmpeg).isFile()) {
            PrintErr(QStringLiteral("quillon-cli: --ffmpeg: no such file: %1\n").arg(ffmpeg));
            ok = false;
        }
    }
    if (!mediaInfo.isEmpty()) {
        keys.writeString(QStringLiteral("MAIN"), QStringLiteral("MediaInfoDll"), mediaInfo);
        if (!QFileInfo(mediaInfo).isFile()) {
            PrintErr(QStringLiteral("quillon-cli: --mediainfo: no such file: %1\n").arg(mediaInfo));
            ok = false;
        }
    }
    ApplyToolKeys(params, keys);
    return ok;
}

// Standard output is checked once, at the end: a result that did not reach
// it (a full disk, a closed pipe) makes the run a failure.
int FinishStandardOutput(int status)
{
    errno = 0;
    if (std::fflush(stdout) != 0 && g_stdoutError == 0)
        g_stdoutError = errno != 0 ? errno : EIO;
    if (std::ferror(stdout) && g_stdoutError == 0)
        g_stdoutError = EIO;
    // The close reports what a file system keeps until then.
    if (::close(STDOUT_FILENO) != 0 && errno != EBADF && g_stdoutError == 0)
        g_stdoutError = errno;
    if (g_stdoutError == 0)
        return status;
    PrintErr(QStringLiteral("quillon-cli: cannot write to standard output: %1\n")
                 .arg(SystemErrorText(g_stdoutError)));
    return status == ExitOk ? ExitFailed : status;
}

int RunCommandLine(int argc, char *argv[])
{
    // The arguments' own bytes, not QCoreApplication::arguments(): a name
    // that is not UTF-8 must stay recognisable (see DecodeLocalName).
    // A reader that went away (quillon-cli ... | head) makes writes fail
    // with EPIPE instead of killing us before clean-up (children start with
    // the default action again).
    std::signal(SIGPIPE, SIG_IGN);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << DecodeLocalName(argv[i]);

    QString ffmpegOption, mediaInfoOption;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--version")) {
            PrintOut(AppInfo::ProgramTitle() + u'\n');
            return ExitOk;
        }
        if (option == QLatin1String("--help")) {
            PrintOut(UsageText());
            return ExitOk;
        }
        // Word lists for the shell completions, which the build makes from
        // them; not for users, so not in --help.
        if (option == QLatin1String("--list-set-keys")
            || option == QLatin1String("--list-extensions")) {
            const QStringList words = option == QLatin1String("--list-set-keys")
                ? SetOptionKeys()
                : SupportedExtensions();
            PrintOut(words.join(u'\n') + u'\n');
            return ExitOk;
        }
        if (option == QLatin1String("--ffmpeg") || option == QLatin1String("--mediainfo")) {
            if (args.isEmpty()) {
                PrintErr(
                    QStringLiteral("quillon-cli: %1 needs a value\n\n").arg(option) + UsageText());
                return ExitUsage;
            }
            const QString value = args.takeFirst();
            if (HasNonUtf8Bytes(value)) {
                PrintErr(QStringLiteral("quillon-cli: %1: \"%2\" is not valid UTF-8\n")
                             .arg(option, value));
                return ExitUsage;
            }
            (option == QLatin1String("--ffmpeg") ? ffmpegOption : mediaInfoOption) = value;
            continue;
        }
        PrintErr(
            QStringLiteral("quillon-cli: unknown option \"%1\"\n\n").arg(option) + UsageText());
        return ExitUsage;
    }
    if (args.isEmpty()) {
        PrintErr(UsageText());
        return ExitUsage;
    }

    const CliCommand *command = FindCommand(args.first());
    if (!command) {
        PrintErr(QStringLiteral("quillon-cli: unknown command \"%1\"\n\n").arg(args.first())
            + UsageText());
        return ExitUsage;
    }

    SetProgramDir(QCoreApplication::applicationDirPath());
    CliContext context;
    context.command = args.takeFirst();
    context.args = args;
    context.params = InitAppParams(ProgramDir());
    if (!ApplyToolOptions(context.params, ffmpegOption, mediaInfoOption))
        return ExitUsage;
    return command->run(context);
}

} // namespace

int RunCli(int argc, char *argv[])
{
    int status;
    {
        QCoreApplication app(argc, argv);
        status = RunCommandLine(argc, argv);
    }
    return FinishStandardOutput(status);
}
