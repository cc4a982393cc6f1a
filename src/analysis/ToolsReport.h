#pragma once

#include "analysis/BinaryType.h"
#include "process/ConsoleRunner.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <optional>

// The tools report: where FFmpeg and the MediaInfo library are, how large,
// their CRC-32, what kind of binary and which version they are.

// The three version lines. Windows tools carry them in a version resource;
// the Linux tools are asked instead: the version token goes into both
// version lines, and the description is the tool's own version statement.
struct ToolVersionInfo
{
    QString ProductVersion;
    QString FileVersion;
    QString FileDescription;
};

// From the output of "ffmpeg -version": its first line reads
// "ffmpeg version 5.1.9-0+deb12u1 Copyright (c) ...".
std::optional<ToolVersionInfo> ParseFFmpegVersionOutput(const QStringList &lines);
// From MediaInfo's "Info_Version" option: "MediaInfoLib - v23.04".
std::optional<ToolVersionInfo> ParseMediaInfoVersion(const QString &infoVersion);

// Runs "ffmpeg -version"; nothing when it cannot be run, says no version,
// or has not ended after timeout (it is killed then). runner (may be
// null) runs it, so that its caller can stop it.
std::optional<ToolVersionInfo> FFmpegVersionInfo(const QString &ffmpegPath,
    std::chrono::milliseconds timeout = ToolAnswerTimeout, ConsoleRunner *runner = nullptr);
// Loads the library (the process keeps the first module it loads) and asks
// it; nothing when it does not load.
std::optional<ToolVersionInfo> MediaInfoVersionInfo(const QString &libraryPath);

enum class ToolKind { FFmpeg, MediaInfo };

// The version of the tool at path as a window names it: FFmpeg's own
// ("5.1.6-0+deb12u1"), MediaInfo's after its name ("MediaInfo 23.04");
// empty when no tool is there or it tells none. Runs (on runner, may be
// null) or loads the tool.
QString ShownToolVersion(const QString &path, ToolKind kind, ConsoleRunner *runner = nullptr);

// What one tool's block shows.
struct ToolFacts
{
    QString Path;
    int64_t Size = 0;
    uint32_t Crc32 = 0;
    std::optional<BinaryTypeInfo> BinaryType;
    std::optional<ToolVersionInfo> Version;
};

inline constexpr int ToolsReportLabelWidth = 18;

// The block of one tool, lines joined with CR LF, no line end after the
// last; empty for a tool that does not exist.
QString FormatToolBlock(
    const std::optional<ToolFacts> &facts, int labelWidth = ToolsReportLabelWidth);
// The whole report: each tool's name, its block and a line of 83 "-".
QString FormatToolsReport(const std::optional<ToolFacts> &ffmpeg,
    const std::optional<ToolFacts> &mediaInfo, int labelWidth = ToolsReportLabelWidth);

// The facts of the file at path; facts stays empty when no file is there.
// False, with error set, when the file exists but cannot be read for its
// checksum.
bool GatherToolFacts(const QString &path, ToolKind kind, std::optional<ToolFacts> &facts,
    QString *error = nullptr, ConsoleRunner *runner = nullptr);

// The report for the two tool paths (resolve them first). False, with
// error set and report untouched, when a tool file cannot be read.
bool BuildToolsReport(const QString &ffmpegPath, const QString &mediaInfoPath, QString &report,
    QString *error = nullptr, int labelWidth = ToolsReportLabelWidth,
    ConsoleRunner *runner = nullptr);
