#include "analysis/ToolsReport.h"

#include "analysis/Crc32.h"
#include "analysis/MediaInfoLibrary.h"
#include "app/TextHelpers.h"
#include "process/CommandLine.h"
#include "process/ConsoleRunner.h"

#include <QFileInfo>

namespace {

const QString LineEnd = QStringLiteral("\r\n");

QString labelled(const QString &label, int width, const QString &value)
{
    return label.rightJustified(width, u' ') + u' ' + value;
}

QString separator()
{
    return QString(83, u'-');
}

} // namespace

std::optional<ToolVersionInfo> ParseFFmpegVersionOutput(const QStringList &lines)
{
    static const QLatin1String prefix("ffmpeg version ");
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (!trimmed.startsWith(prefix))
            return std::nullopt;
        const QString version = trimmed.mid(prefix.size()).section(u' ', 0, 0);
        if (version.isEmpty())
            return std::nullopt;
        return ToolVersionInfo{version, version, trimmed};
    }
    return std::nullopt;
}

std::optional<ToolVersionInfo> ParseMediaInfoVersion(const QString &infoVersion)
{
    const QString text = infoVersion.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    static const QLatin1String marker(" - v");
    const qsizetype at = text.lastIndexOf(marker);
    const QString version = at >= 0 ? text.mid(at + marker.size()).trimmed() : text;
    return ToolVersionInfo{version, version, text};
}

std::optional<ToolVersionInfo> FFmpegVersionInfo(
    const QString &ffmpegPath, std::chrono::milliseconds timeout, ConsoleRunner *runner)
{
    QStringList lines;
    try {
        ConsoleRunner own;
        ConsoleRunner &used = runner ? *runner : own;
        used.RunConsoleApp(CommandLine(ffmpegPath, QStringLiteral("-version")), &lines, {}, {},
            ToolAnswerOptions(timeout));
        if (used.timedOut())
            return std::nullopt;
    } catch (const ConsoleRunError &) {
        // A file that cannot be run has no version to tell.
        return std::nullopt;
    }
    return ParseFFmpegVersionOutput(lines);
}

std::optional<ToolVersionInfo> MediaInfoVersionInfo(const QString &libraryPath)
{
    if (!LoadMediaInfoLibrary(libraryPath))
        return std::nullopt;
    return ParseMediaInfoVersion(MediaInfoOption(QStringLiteral("Info_Version"), QString()));
}

QString ShownToolVersion(const QString &path, ToolKind kind, ConsoleRunner *runner)
{
    if (path.isEmpty())
        return {};
    if (kind == ToolKind::FFmpeg) {
        const std::optional<ToolVersionInfo> version
            = FFmpegVersionInfo(path, ToolAnswerTimeout, runner);
        return version ? version->ProductVersion : QString();
    }
    const std::optional<ToolVersionInfo> version = MediaInfoVersionInfo(path);
    return version ? QStringLiteral("MediaInfo ") + version->ProductVersion : QString();
}

QString FormatToolBlock(const std::optional<ToolFacts> &facts, int labelWidth)
{
    if (!facts)
        return {};
    QStringList lines;
    lines << labelled(QStringLiteral("File name:"), labelWidth, facts->Path);
    lines << labelled(QStringLiteral("File size:"), labelWidth,
        FormatThousands(facts->Size, u' ') + QStringLiteral(" bytes (")
            + FormatSize(facts->Size, QStringLiteral(" bytes")) + u')');
    lines << labelled(QStringLiteral("File CRC32:"), labelWidth, u'$' + Crc32Hex(facts->Crc32));
    if (facts->BinaryType)
        lines << labelled(QStringLiteral("Binary type:"), labelWidth, facts->BinaryType->text());
    if (facts->Version) {
        lines << labelled(
            QStringLiteral("Product version:"), labelWidth, facts->Version->ProductVersion);
        lines << labelled(QStringLiteral("File version:"), labelWidth, facts->Version->FileVersion);
        lines << labelled(
            QStringLiteral("File description:"), labelWidth, facts->Version->FileDescription);
    }
    return lines.join(LineEnd);
}

QString FormatToolsReport(const std::optional<ToolFacts> &ffmpeg,
    const std::optional<ToolFacts> &mediaInfo, int labelWidth)
{
    return QStringLiteral("FFmpeg") + LineEnd + FormatToolBlock(ffmpeg, labelWidth) + LineEnd
        + separator() + LineEnd + QStringLiteral("MediaInfo") + LineEnd
        + FormatToolBlock(mediaInfo, labelWidth) + LineEnd + separator();
}

bool GatherToolFacts(const QString &path, ToolKind kind, std::optional<ToolFacts> &facts,
    QString *error, ConsoleRunner *runner)
{
    facts.reset();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return true;
    const std::optional<uint32_t> crc = Crc32OfFile(path, error);
    if (!crc)
        return false;
    ToolFacts result;
    result.Path = path;
    result.Size = QFileInfo(path).size();
    result.Crc32 = *crc;
    result.BinaryType = ReadBinaryType(path);
    result.Version = kind == ToolKind::FFmpeg ? FFmpegVersionInfo(path, ToolAnswerTimeout, runner)
                                              : MediaInfoVersionInfo(path);
    facts = result;
    return true;
}

bool BuildToolsReport(const QString &ffmpegPath, const QString &mediaInfoPath, QString &report,
    QString *error, int labelWidth, ConsoleRunner *runner)
{
    std::optional<ToolFacts> ffmpeg;
    std::optional<ToolFacts> mediaInfo;
    if (!GatherToolFacts(ffmpegPath, ToolKind::FFmpeg, ffmpeg, error, runner)
        || !GatherToolFacts(mediaInfoPath, ToolKind::MediaInfo, mediaInfo, error))
        return false;
    report = FormatToolsReport(ffmpeg, mediaInfo, labelWidth);
    return true;
}
