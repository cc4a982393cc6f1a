#include "conversion/JobCount.h"

#include "encoding/EncodingSettings.h"
#include "encoding/SettingsLists.h"
#include "encoding/VideoParams.h"

#include <algorithm>

namespace {

bool copiesVideo(const EncodingSettings &s)
{
    // The MPEG choices always encode; a dropped video stream costs nothing.
    return !s.IsMpg() && (s.chAviVideoDontCopy || s.cbAviVideoCodec == AviCodec::Copy);
}

bool copiesAudio(const EncodingSettings &s)
{
    return s.chAudioDontCopy || s.cbAudioCodec == AudioCodec::Copy;
}

} // namespace

int ProcessorsPerConversion(const EncodingSettings &s, int processorCount)
{
    if (s.IsMpg() || s.chAviVideoDontCopy || s.cbAviVideoCodec != AviCodec::H264)
        return 1;
    bool ok = false;
    const int typed = s.cbAviVideoThreads.trimmed().toInt(&ok);
    // The same count the command gives FFmpeg when the field holds no number.
    const int threads = ok && typed > 0 ? typed : ThreadsForProcessorCount(processorCount);
    return std::max(1, threads);
}

int AutoJobCount(const EncodingSettings &s, int processorCount)
{
    if (copiesVideo(s) && copiesAudio(s))
        return 1;
    const int processors = std::max(1, processorCount);
    return std::clamp(processors / ProcessorsPerConversion(s, processors), 1, MaxJobs);
}

int ResolveJobCount(int setting, const EncodingSettings &s, int processorCount)
{
    if (setting == AutoJobs)
        return AutoJobCount(s, processorCount);
    return std::clamp(setting, 1, MaxJobs);
}

std::optional<int> ParseJobCount(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("auto"), Qt::CaseInsensitive) == 0)
        return AutoJobs;
    bool ok = false;
    const int count = t.toInt(&ok);
    if (!ok || count < 1 || count > MaxJobs)
        return std::nullopt;
    return count;
}
