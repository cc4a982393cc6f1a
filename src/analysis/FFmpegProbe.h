#pragma once

#include "analysis/VideoFileInfo.h"
#include "process/ConsoleRunner.h"

#include <QString>
#include <chrono>

class CommandLine;

// ffmpeg -i FILE. The name is made absolute so that FFmpeg, which runs in
// its own folder, opens the same file, and so that no name can pass for an
// option or a protocol ("-x.mkv", "pipe:1").
CommandLine ProbeCommandLine(const QString &ffmpegPath, const QString &fileName);

// The complete analysis of one file: FFmpeg's description, then MediaInfo
// (from mediaInfoDll) over the same record, then the video size estimate.
// info is reset and receives name and size first, so a probe that stops
// early (missing file or FFmpeg, FFmpeg failing to start) still yields
// them; it receives the full result at the end. A failure to start FFmpeg
// throws ConsoleRunError. runner: the one to run FFmpeg with, so that a
// caller can stop it; null runs FFmpeg on a runner of its own. The MediaInfo
// library parses the file while FFmpeg runs; the record is merged in the
// order above. FFmpeg that has not ended after timeout is killed: the
// record then holds only name and size, as without FFmpeg, and the result
// is false (true otherwise).
bool ProbeWithFFmpeg(const QString &fileName, const QString &ffmpegPath,
    const QString &mediaInfoDll, TVideoFileInfo &info, ConsoleRunner *runner = nullptr,
    std::chrono::milliseconds timeout = ToolAnswerTimeout);
