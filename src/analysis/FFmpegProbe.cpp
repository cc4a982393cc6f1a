#include "analysis/FFmpegProbe.h"

#include "analysis/FFmpegProbeOutput.h"
#include "analysis/MediaInfoAnalysis.h"
#include "app/AppParams.h"
#include "app/TextHelpers.h"
#include "conversion/CommandLine.h"
#include "conversion/ConsoleRunner.h"

#include <QFileInfo>
#include <QStringList>

CommandLine ProbeCommandLine(const QString &ffmpegPath, const QString &fileName)
{
    CommandLine command(ffmpegPath, QStringLiteral("-i "));
    command.appendFileName(QFileInfo(fileName).absoluteFilePath());
    return command;
}

void ProbeWithFFmpeg(const QString &fileName, const QString &ffmpegPath,
    const QString &mediaInfoDll, TVideoFileInfo &info, ConsoleRunner *runner)
{
    TVideoFileInfo probed;
    SetFileName(probed, fileName);
    probed.FileSize = FileSizeOf(fileName);
    info = probed;
    if (fileName.isEmpty() || ffmpegPath.isEmpty() || !QFileInfo::exists(fileName)
        || !QFileInfo(ffmpegPath).isFile())
        return;

    QStringList lines;
    ConsoleRunner ownRunner;
    // FFmpeg ends with an error because no output is named: expected.
    (runner ? *runner : ownRunner).RunConsoleApp(ProbeCommandLine(ffmpegPath, fileName), &lines);

    ParseFFmpegProbeOutput(lines, probed);
    ReadMediaInfo(fileName, mediaInfoDll, probed);
    EstimateVideoStreamSize(probed);
    info = probed;
}

void ProbeWithFFmpeg(const QString &fileName, const QString &ffmpegPath, TVideoFileInfo &info)
{
    ProbeWithFFmpeg(fileName, ffmpegPath, AppParams().MediaInfoDll, info);
}
