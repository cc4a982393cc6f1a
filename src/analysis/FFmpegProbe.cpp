#include "analysis/FFmpegProbe.h"

#include "analysis/FFmpegProbeOutput.h"
#include "analysis/MediaInfoAnalysis.h"
#include "analysis/MediaInfoLibrary.h"
#include "app/TextHelpers.h"
#include "process/CommandLine.h"
#include "process/ConsoleRunner.h"

#include <QFileInfo>
#include <QStringList>
#include <future>
#include <system_error>

CommandLine ProbeCommandLine(const QString &ffmpegPath, const QString &fileName)
{
    CommandLine command(ffmpegPath, QStringLiteral("-i "));
    command.appendFileName(QFileInfo(fileName).absoluteFilePath());
    return command;
}

bool ProbeWithFFmpeg(const QString &fileName, const QString &ffmpegPath,
    const QString &mediaInfoDll, TVideoFileInfo &info, ConsoleRunner *runner,
    std::chrono::milliseconds timeout)
{
    TVideoFileInfo probed;
    SetFileName(probed, fileName);
    probed.FileSize = FileSizeOf(fileName);
    info = probed;
    if (fileName.isEmpty() || ffmpegPath.isEmpty() || !QFileInfo::exists(fileName)
        || !QFileInfo(ffmpegPath).isFile())
        return true;

    // The library's parse of the file needs nothing from FFmpeg, so the two
    // overlap; only reading the values waits for FFmpeg's.
    std::future<std::unique_ptr<MediaInfoHandle>> mediaInfo;
    try {
        mediaInfo = std::async(std::launch::async, OpenMediaInfo, fileName, mediaInfoDll);
    } catch (const std::system_error &) {
        // No thread to spare: the library parses the file afterwards.
    }

    QStringList lines;
    ConsoleRunner ownRunner;
    ConsoleRunner &used = runner ? *runner : ownRunner;
    // FFmpeg ends with an error because no output is named: expected.
    used.RunConsoleApp(
        ProbeCommandLine(ffmpegPath, fileName), &lines, {}, {}, ToolAnswerOptions(timeout));
    if (used.timedOut())
        return false;

    ParseFFmpegProbeOutput(lines, probed);
    const std::unique_ptr<MediaInfoHandle> handle
        = mediaInfo.valid() ? mediaInfo.get() : OpenMediaInfo(fileName, mediaInfoDll);
    ReadMediaInfo(handle.get(), probed);
    EstimateVideoStreamSize(probed);
    info = probed;
    return true;
}
