#include "RecordChecks.h"

#include "FuzzSupport.h"

#include <cmath>

namespace {

bool finiteNonNegative(double value)
{
    return std::isfinite(value) && value >= 0;
}

} // namespace

void checkVideoFileInfo(const TVideoFileInfo &info)
{
    QLN_FUZZ_CHECK(std::isfinite(info.Duration));
    QLN_FUZZ_CHECK(info.OverallBitrate >= 0);
    for (const TVideoStreamInfo &v : info.VideoStreams) {
        QLN_FUZZ_CHECK(finiteNonNegative(v.FPS));
        QLN_FUZZ_CHECK(finiteNonNegative(v.DAR));
        QLN_FUZZ_CHECK(finiteNonNegative(v.BitsPerPixel));
        QLN_FUZZ_CHECK(v.Bitrate >= 0);
        QLN_FUZZ_CHECK(v.StreamSize >= 0);
        QLN_FUZZ_CHECK(v.StreamSizeInPercent <= 100);
    }
    for (const TAudioStreamInfo &a : info.AudioStreams) {
        QLN_FUZZ_CHECK(a.Bitrate >= 0);
        QLN_FUZZ_CHECK(a.SamplingRate >= 0);
        QLN_FUZZ_CHECK(a.DurationMs >= 0);
        QLN_FUZZ_CHECK(a.StreamSize >= 0);
        QLN_FUZZ_CHECK(a.StreamSizeInPercent <= 100);
    }
}
