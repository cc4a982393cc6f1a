#include "conversion/ProbeBatch.h"

#include "analysis/FFmpegProbeOutput.h"
#include "analysis/MediaInfoAnalysis.h"
#include "app/TextHelpers.h"
#include "process/CommandLine.h"
#include "process/ConsoleRunner.h"

#include <QFileInfo>

namespace {

bool isIndented(const QString &line)
{
    return line.startsWith(u' ');
}

// "Input #3, ..." -> "Input #0, ...", "  Stream #3:1..." -> "  Stream #0:1...",
// likewise "Chapter #3:0".
QString singleInputNumbers(const QString &line, int index)
{
    const QString number = QString::number(index);
    qsizetype start = 0;
    while (start < line.size() && line.at(start) == u' ')
        ++start;
    for (const char *word : {"Input #", "Stream #", "Chapter #"}) {
        const QLatin1String prefix(word);
        if (QStringView(line).mid(start).startsWith(prefix)
            && QStringView(line).mid(start + prefix.size()).startsWith(number)) {
            const qsizetype after = start + prefix.size() + number.size();
            if (after < line.size() && (line.at(after) == u',' || line.at(after) == u':'))
                return line.left(start + prefix.size()) + u'0' + line.mid(after);
        }
    }
    return line;
}

} // namespace

CommandLine ProbeBatchCommandLine(const QString &ffmpegPath, const QStringList &fileNames)
{
    CommandLine command(ffmpegPath);
    for (const QString &file : fileNames) {
        command.appendText(QStringLiteral(" -i "));
        command.appendFileName(QFileInfo(file).absoluteFilePath());
    }
    return command;
}

std::vector<std::optional<QStringList>> SplitProbeBatchOutput(
    const QStringList &lines, const QStringList &fileNames)
{
    std::vector<std::optional<QStringList>> result(size_t(fileNames.size()));
    qsizetype i = 0;
    QStringList banner;
    if (!lines.isEmpty() && lines.first().startsWith(QLatin1String("ffmpeg version"))) {
        banner << lines.at(i++);
        while (i < lines.size() && isIndented(lines.at(i)))
            banner << lines.at(i++);
    }

    QStringList opening; // printed while FFmpeg opened the next input
    int next = 0;
    while (i < lines.size() && next < fileNames.size()) {
        const QString &line = lines.at(i++);
        // The input line names the file as it was given: a line that names
        // another file (or a name FFmpeg changed) is not taken for it.
        const QString expected = QStringLiteral("Input #%1, ").arg(next);
        const QString from = QStringLiteral(", from '")
            + QFileInfo(fileNames.at(next)).absoluteFilePath() + QStringLiteral("':");
        if (!line.startsWith(expected)) {
            opening << line;
            continue;
        }
        if (!line.endsWith(from))
            break;
        QStringList single = banner + opening;
        single << singleInputNumbers(line, next);
        while (i < lines.size() && isIndented(lines.at(i)))
            single << singleInputNumbers(lines.at(i++), next);
        result[size_t(next)] = single;
        opening.clear();
        ++next;
    }
    return result;
}

void ProbeFilesWithFFmpeg(const QStringList &fileNames, const QString &ffmpegPath,
    const QString &mediaInfoDll, ConsoleRunner &runner,
    const std::function<void(int, std::optional<TVideoFileInfo>)> &onResult,
    const ConsoleRunOptions &options)
{
    QStringList lines;
    runner.RunConsoleApp(ProbeBatchCommandLine(ffmpegPath, fileNames), &lines, {}, {}, options);
    if (runner.timedOut())
        lines.clear();
    const std::vector<std::optional<QStringList>> split = SplitProbeBatchOutput(lines, fileNames);
    for (qsizetype k = 0; k < fileNames.size(); ++k) {
        const std::optional<QStringList> &own = split[size_t(k)];
        if (!own) {
            onResult(int(k), std::nullopt);
            continue;
        }
        // The steps of ProbeWithFFmpeg after its FFmpeg run.
        const QString &file = fileNames.at(k);
        TVideoFileInfo info;
        SetFileName(info, file);
        info.FileSize = FileSizeOf(file);
        ParseFFmpegProbeOutput(*own, info);
        ReadMediaInfo(file, mediaInfoDll, info);
        EstimateVideoStreamSize(info);
        onResult(int(k), info);
    }
}
