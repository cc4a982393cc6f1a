#include "encoding/ExpectedSize.h"

#include "analysis/VideoFileInfo.h"
#include "encoding/AudioParams.h"
#include "encoding/PieceContext.h"
#include "encoding/VideoParams.h"
#include "filelist/FileListRow.h"

#include <QList>
#include <QStringView>
#include <cmath>

namespace {

// AVI: a 12-byte list header and a 16-byte index entry per chunk, a video
// frame or an audio packet being one chunk; the headers at the start.
constexpr double AviBytesPerChunk = 24;
constexpr double AviAudioChunksPerSecond = 40;
constexpr double AviHeaderBytes = 12 * 1024;
// MPEG program streams: pack and packet headers of the 2048-byte packs.
constexpr double MpegMuxShare = 0.025;
// What FFmpeg's DVD targets write when no bitrate is given (kbit/s).
constexpr int DvdVideoKbps = 6000;
constexpr int DvdAudioKbps = 448;
// FFmpeg's own default for an audio encoder given no bitrate.
constexpr int DefaultAudioKbps = 128;

// The number after option in a piece ("-b:v 1200k" gives 1200); -1 when
// the piece does not hold it.
double optionValue(const QString &piece, QLatin1StringView option)
{
    const QList<QStringView> words = QStringView(piece).split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        if (words[i] != option)
            continue;
        QStringView value = words[i + 1];
        if (value.endsWith(u'k'))
            value.chop(1);
        bool ok = false;
        const double number = value.toDouble(&ok);
        return ok ? number : -1;
    }
    return -1;
}

// A copied stream: its own size, else its bitrate over the duration.
double copiedBytes(int64_t streamSize, int32_t kbps, double seconds)
{
    return streamSize > 0 ? double(streamSize) : std::max(0, kbps) * 125.0 * seconds;
}

// The video's bytes and the frames a second it is written at (AVI counts a
// chunk per frame), from one reading of the pieces.
struct VideoShare
{
    double bytes = 0;
    double fps = 0;
};

std::optional<VideoShare> videoShare(const PieceContext &ctx, double seconds)
{
    const TVideoStreamInfo &video = ctx.info.VideoStreams[0];
    const QString codec = GetVideoCodecStr(ctx);
    if (ctx.info.NumberOfVideoStreams == 0 || codec == u"-vn")
        return VideoShare{};
    if (codec.startsWith(QLatin1String("-c:v copy")))
        return VideoShare{copiedBytes(video.StreamSize, video.Bitrate, seconds), video.FPS};
    const std::optional<QString> params = GetVideoParamsStr(ctx);
    if (!params)
        return std::nullopt;
    // A fixed quantizer decides the size, whatever bitrate follows it.
    if (optionValue(*params, QLatin1StringView("-q:v")) >= 0)
        return std::nullopt;
    double kbps = optionValue(*params, QLatin1StringView("-b:v"));
    if (kbps < 0 && codec.startsWith(QLatin1String("-target")))
        kbps = DvdVideoKbps;
    if (kbps < 0)
        return std::nullopt;
    const double rate = optionValue(*params, QLatin1StringView("-r"));
    return VideoShare{kbps * 125.0 * seconds, rate > 0 ? rate : video.FPS};
}

std::optional<double> audioBytes(const PieceContext &ctx, double seconds)
{
    const TAudioStreamInfo &audio = ctx.info.AudioStreams[0];
    const QString codec = GetAudioCodecStr(ctx);
    if (ctx.info.NumberOfAudioStreams == 0 || codec == u"-an")
        return 0.0;
    if (codec == u"-c:a copy")
        return copiedBytes(audio.StreamSize, audio.Bitrate, seconds);
    const std::optional<QString> params = GetAudioParamsStr(ctx);
    if (!params)
        return std::nullopt;
    if (codec.startsWith(QLatin1String("-c:a pcm_"))) {
        // 16-bit samples at the rate and channels the command asks for,
        // else the source's.
        const auto given = [&](const char *option, double source, double fallback) {
            const double value = optionValue(*params, QLatin1StringView(option));
            return value > 0 ? value : source > 0 ? source : fallback;
        };
        return given("-ar", audio.SamplingRate, 48000) * given("-ac", audio.Channels, 2) * 2
            * seconds;
    }
    double kbps = optionValue(*params, QLatin1StringView("-b:a"));
    if (kbps < 0)
        kbps = codec.isEmpty() ? DvdAudioKbps : DefaultAudioKbps;
    return kbps * 125.0 * seconds;
}

} // namespace

TVideoFileInfo InfoFromAnalysisCells(const FileAnalysisCells &cells)
{
    TVideoFileInfo info;
    ClearVideoFileInfo(info);
    info.Duration = cells.duration;
    if (cells.videoWidth > 0 || !cells.videoCodec.isEmpty()) {
        info.NumberOfVideoStreams = 1;
        TVideoStreamInfo &video = info.VideoStreams[0];
        video.Exists = true;
        video.Codec = cells.videoCodec;
        video.Width = uint16_t(std::clamp(cells.videoWidth, 0, 65535));
        video.Height = uint16_t(std::clamp(cells.videoHeight, 0, 65535));
        video.Bitrate = cells.videoBitrate;
        video.FPS = cells.videoFPS;
        video.BitsPerPixel = cells.videoBpp;
        video.StreamSize = cells.videoStreamSize;
    }
    if (cells.audioChannels > 0 || !cells.audioCodec.isEmpty()) {
        info.NumberOfAudioStreams = 1;
        TAudioStreamInfo &audio = info.AudioStreams[0];
        audio.Exists = true;
        audio.Codec = cells.audioCodec;
        audio.Channels = uint8_t(std::clamp(cells.audioChannels, 0, 255));
        audio.SamplingRate = cells.audioSampling;
        audio.Bitrate = cells.audioBitrate;
        audio.StreamSize = cells.audioStreamSize;
        audio.StreamIndex = info.NumberOfVideoStreams;
    }
    return info;
}

std::optional<int64_t> ExpectedOutputBytes(const PieceContext &ctx)
{
    const double seconds = ctx.info.Duration / 1000.0;
    if (!(seconds > 0))
        return std::nullopt;
    const std::optional<VideoShare> video = videoShare(ctx, seconds);
    const std::optional<double> audio = audioBytes(ctx, seconds);
    if (!video || !audio)
        return std::nullopt;
    double bytes = video->bytes + *audio;
    if (ctx.settings.IsMpg()) {
        bytes *= 1 + MpegMuxShare;
    } else {
        const double frames = video->bytes > 0 ? std::max(video->fps, 0.0) * seconds : 0;
        const double packets = *audio > 0 ? AviAudioChunksPerSecond * seconds : 0;
        bytes += AviHeaderBytes + AviBytesPerChunk * (frames + packets);
    }
    return int64_t(std::llround(bytes));
}

int64_t ExpectedRowBytes(const EncodingSettings &s, const EncodingLists &lists,
    const TAppStrings &strings, const FileAnalysisCells &cells)
{
    const TVideoFileInfo info = InfoFromAnalysisCells(cells);
    return ExpectedOutputBytes(PieceContext(s, lists, strings, info)).value_or(-1);
}
