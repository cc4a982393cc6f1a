#include "encoding/FFmpegHelp.h"

#include "app/SafeSave.h"
#include "encoding/AdvancedParams.h"
#include "process/CommandLine.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

// One file per FFmpeg program, so that two installations do not take each
// other's text.
QString cachedHelpFile(const QString &ffmpegPath, const QString &cacheDir)
{
    const QByteArray id = QCryptographicHash::hash(
        QFileInfo(ffmpegPath).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1)
                              .toHex()
                              .left(16);
    return QDir(cacheDir).filePath(QStringLiteral("ffmpeg-help-%1.txt").arg(QLatin1String(id)));
}

bool isCurrent(const QString &file, const QString &ffmpegPath)
{
    const QFileInfo help(file);
    return help.isFile() && help.size() > 0
        && help.lastModified() >= QFileInfo(ffmpegPath).lastModified();
}

} // namespace

QString ProvideFFmpegHelpFile(const QString &ffmpegPath, const QString &cacheDir,
    ConsoleRunner *runner, std::chrono::milliseconds timeout)
{
    QString shipped = FFmpegHelpFile(ffmpegPath);
    if (!shipped.isEmpty())
        return shipped;
    if (ffmpegPath.isEmpty() || cacheDir.isEmpty())
        return {};
    QString file = cachedHelpFile(ffmpegPath, cacheDir);
    if (isCurrent(file, ffmpegPath))
        return file;

    QStringList lines;
    try {
        ConsoleRunner ownRunner;
        ConsoleRunner &used = runner ? *runner : ownRunner;
        const uint32_t exitCode
            = used.RunConsoleApp(CommandLine(ffmpegPath, QStringLiteral("-hide_banner -h long")),
                &lines, {}, {}, ToolAnswerOptions(timeout));
        // A text cut short would be kept as if it were whole.
        if (exitCode != 0 || used.timedOut() || used.stopRequested())
            return {};
        // The console's open last line.
        while (!lines.isEmpty() && lines.constLast().isEmpty())
            lines.removeLast();
        if (lines.isEmpty())
            return {};
    } catch (const ConsoleRunError &) {
        return {};
    }
    if (!QDir().mkpath(cacheDir))
        return {};
    return SaveWholeFile(file, (lines.join(u'\n') + u'\n').toUtf8()) ? file : QString();
}
