#include "cli/Cli.h"

#include "app/AppInfo.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

void PrintOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void PrintErr(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

QString UsageText()
{
    return QStringLiteral(
        "Usage: quillon-cli [--ffmpeg PATH] [--mediainfo PATH] COMMAND [ARGS]\n"
        "       quillon-cli --version | --help\n");
}

} // namespace

int RunCli(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty()) {
        PrintErr(UsageText());
        return 2;
    }
    if (args.first() == QLatin1String("--version")) {
        PrintOut(AppInfo::ProgramTitle() + u'\n');
        return 0;
    }
    if (args.first() == QLatin1String("--help")) {
        PrintOut(UsageText());
        return 0;
    }
    PrintErr(QStringLiteral("quillon-cli: unknown command \"%1\"\n").arg(args.first()) + UsageText());
    return 2;
}
