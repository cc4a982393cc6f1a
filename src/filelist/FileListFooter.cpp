#include "filelist/FileListFooter.h"

#include "app/TextHelpers.h"

using namespace Qt::StringLiterals;

namespace {

// Of the values above 0 only: a row without the fact does not lower the
// average.
struct Average
{
    double sum = 0;
    int count = 0;
    void add(double value)
    {
        if (value > 0) {
            sum += value;
            ++count;
        }
    }
};

} // namespace

FooterTexts CalcFooter(
    const std::vector<FileListRow> &rows, const TAppStrings &strings, QChar decimalSeparator)
{
    FooterTexts footer;
    if (rows.empty())
        return footer;
    double size = 0, duration = 0, videoStreamSize = 0, audioStreamSize = 0, expected = 0;
    Average videoBitrate, fps, bpp, audioBitrate;
    int checked = 0;
    for (const FileListRow &row : rows) {
        if (!row.active)
            continue;
        ++checked;
        const FileAnalysisCells &a = row.analysis;
        size += double(row.size);
        duration += a.duration;
        videoStreamSize += double(a.videoStreamSize);
        audioStreamSize += double(a.audioStreamSize);
        expected += double(std::max<int64_t>(row.expectedSize, 0));
        videoBitrate.add(a.videoBitrate);
        fps.add(a.videoFPS);
        bpp.add(a.videoBpp);
        audioBitrate.add(a.audioBitrate);
    }
    footer[colNo] = FormatThousands(int64_t(rows.size()));
    footer[colActive] = FormatThousands(checked);

    const auto sizeText
        = [](double sum) { return sum > 0 ? FormatSize(RoundHalfEven(sum)) : QString(); };
    footer[colSize] = sizeText(size);
    footer[colVideoStreamSize] = sizeText(videoStreamSize);
    footer[colAudioStreamSize] = sizeText(audioStreamSize);
    footer[colExpectedSize] = sizeText(expected);
    if (duration > 0)
        footer[colDuration] = wholeSecondsText(duration);

    const auto averageText = [&](const Average &average, int decimals) {
        if (average.sum <= 0)
            return QString();
        return strings.Main.AverageShort + u"  "_s
            + decimalsText(average.sum / average.count, decimals, decimalSeparator);
    };
    footer[colVideoBitrate] = averageText(videoBitrate, 2);
    footer[colVideoFPS] = averageText(fps, 2);
    footer[colVideoBpp] = averageText(bpp, 3);
    footer[colAudioBitrate] = averageText(audioBitrate, 2);
    return footer;
}
