// The MediaInfo library's answers (text for every field) as the analysis
// reads them into the record. The input is a list of answers
// "kind;stream;parameter=value", served by the tests' stand-in library.

#include "FuzzSupport.h"
#include "RecordChecks.h"

#include "analysis/FFmpegProbeOutput.h"
#include "analysis/MediaInfoAnalysis.h"
#include "analysis/MediaInfoLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::writeScratchFile(
        QStringLiteral("answers.txt"), QByteArray("FAKE-MEDIAINFO\n") + Fuzz::bytesOf(data, size));
    const std::unique_ptr<MediaInfoHandle> handle
        = OpenMediaInfo(path, QStringLiteral(QLN_FAKE_MEDIAINFO));
    QLN_FUZZ_CHECK(handle != nullptr);

    TVideoFileInfo info;
    info.FileSize = 1024 * 1024;
    ReadMediaInfo(handle.get(), info);
    checkVideoFileInfo(info);
    EstimateVideoStreamSize(info);
    checkVideoFileInfo(info);
    return 0;
}
