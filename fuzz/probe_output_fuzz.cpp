// FFmpeg's description of an input ("ffmpeg -i FILE" on standard error), as
// the console runner splits it into lines, read into the analysis record.

#include "FuzzSupport.h"
#include "RecordChecks.h"

#include "analysis/FFmpegProbeOutput.h"
#include "process/ConsoleOutputCollector.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList lines;
    ConsoleOutputCollector collector(&lines, {});
    collector.feed(reinterpret_cast<const char *>(data), qsizetype(size));
    collector.finish();

    TVideoFileInfo info;
    info.FileSize = 1024 * 1024;
    ParseFFmpegProbeOutput(lines, info);
    EstimateVideoStreamSize(info);
    checkVideoFileInfo(info);

    int streamLines = 0;
    for (const QString &line : lines)
        streamLines += IsStreamLine(line.trimmed());
    QLN_FUZZ_CHECK(info.NumberOfVideoStreams + info.NumberOfAudioStreams
        <= std::min(streamLines, MaxStreamLines) * 2);
    for (const QString &line : lines)
        QLN_FUZZ_CHECK(std::isfinite(ParseFFmpegDuration(line)));
    return 0;
}
