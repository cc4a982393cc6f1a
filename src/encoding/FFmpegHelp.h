#pragma once

#include "process/ConsoleRunner.h"

#include <QString>
#include <chrono>

// The FFmpeg help text that the button beside the additional parameters
// opens: the file that ships beside FFmpeg (FFmpegHelpFile) when there is
// one; otherwise FFmpeg's own "-h long" output, kept in cacheDir and written
// when missing or older than the program, so FFmpeg is asked once per
// build. Empty when there is neither: FFmpeg cannot be run, fails, has not
// answered after timeout or is stopped through runner (null: a runner of
// its own), or the file cannot be written. Blocks while FFmpeg runs: call it
// off the window's thread.
QString ProvideFFmpegHelpFile(const QString &ffmpegPath, const QString &cacheDir,
    ConsoleRunner *runner = nullptr, std::chrono::milliseconds timeout = ToolAnswerTimeout);
