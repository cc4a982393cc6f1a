#pragma once

#include "analysis/VideoFileInfo.h"
#include "app/AppParams.h"

#include <QString>

class ConsoleRunner;

// Whether faFull asks FFmpeg as well: the file has a video stream and
// MediaInfo left the first one's bit rate or frame rate open.
bool NeedsFFmpegProbe(const TVideoFileInfo &info);

// What adding a file learns about it: nothing for faNone, MediaInfo's facts
// for faQuick, and for faFull FFmpeg's probe on top when NeedsFFmpegProbe.
// A probe that cannot run (no FFmpeg, FFmpeg failing to start, a time-out)
// keeps MediaInfo's facts rather than wiping them. runner: the one the
// probe runs FFmpeg on, so that another thread can stop it; null for one
// of its own. Blocks: call it off the window's thread.
TVideoFileInfo AnalyseFileForList(const QString &path, TFileAnalysis mode,
    const QString &mediaInfoDll, const QString &ffmpegPath, ConsoleRunner *runner = nullptr);
