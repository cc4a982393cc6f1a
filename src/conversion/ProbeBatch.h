#pragma once

#include "analysis/VideoFileInfo.h"
#include "process/ConsoleRunner.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class CommandLine;

// FFmpeg describes every input of one run ("ffmpeg -i A -i B ..."), and
// starting FFmpeg costs about as much as describing a file: files analysed
// ahead of their conversion are described in batches of this size (each
// input stays open until FFmpeg ends).
inline constexpr int ProbeBatchSize = 16;

// ffmpeg -i A -i B ...: each name made absolute, as a probe of one file
// does, and passed as one whole argument.
CommandLine ProbeBatchCommandLine(const QString &ffmpegPath, const QStringList &fileNames);

// Cuts the output of a batch run for fileNames into the lines a probe of
// each file alone would have captured: the banner, what FFmpeg printed while
// opening the file, and its description with the input and stream numbers
// of a single input ("Input #0", "Stream #0:1"). Nothing for a file FFmpeg
// did not describe: it stops at the first input it cannot open.
std::vector<std::optional<QStringList>> SplitProbeBatchOutput(
    const QStringList &lines, const QStringList &fileNames);

// Describes the files in one FFmpeg run on runner, then completes each
// description as ProbeWithFFmpeg does (MediaInfo from mediaInfoDll, the
// video size estimate) and hands it to onResult with its index, in order;
// nothing for a file FFmpeg did not describe, and for every file when
// FFmpeg was killed at the time-out of options. Throws ConsoleRunError when
// FFmpeg cannot be started.
void ProbeFilesWithFFmpeg(const QStringList &fileNames, const QString &ffmpegPath,
    const QString &mediaInfoDll, ConsoleRunner &runner,
    const std::function<void(int, std::optional<TVideoFileInfo>)> &onResult,
    const ConsoleRunOptions &options = ToolAnswerOptions());
