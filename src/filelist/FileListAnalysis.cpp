#include "filelist/FileListAnalysis.h"

#include "analysis/FFmpegProbe.h"
#include "analysis/MediaInfoAnalysis.h"
#include "process/ConsoleRunner.h"

#include <QFileInfo>

bool NeedsFFmpegProbe(const TVideoFileInfo &info)
{
    return info.NumberOfVideoStreams > 0
        && (info.VideoStreams[0].Bitrate <= 0 || info.VideoStreams[0].FPS <= 0);
}

TVideoFileInfo AnalyseFileForList(const QString &path, TFileAnalysis mode,
    const QString &mediaInfoDll, const QString &ffmpegPath, ConsoleRunner *runner)
{
    TVideoFileInfo info;
    if (mode == faNone)
        return info;
    ReadMediaInfo(path, mediaInfoDll, info);
    if (mode != faFull || !NeedsFFmpegProbe(info) || ffmpegPath.isEmpty()
        || !QFileInfo(ffmpegPath).isFile())
        return info;
    TVideoFileInfo probed;
    try {
        if (ProbeWithFFmpeg(path, ffmpegPath, mediaInfoDll, probed, runner))
            return probed;
    } catch (const ConsoleRunError &) {
        // FFmpeg would not start: as without FFmpeg.
    }
    return info;
}
