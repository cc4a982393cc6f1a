#include "encoding/VideoParams.h"

#include "analysis/VideoFileInfo.h"
#include "app/TextHelpers.h"
#include "encoding/AdvancedParams.h"
#include "encoding/PieceContext.h"
#include "encoding/SettingsLists.h"
#include "encoding/SettingsTexts.h"
#include "i18n/AppStrings.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

uint32_t ClampBitrate(double kbps)
{
    const int64_t rounded = RoundHalfEven(kbps);
    return uint32_t(std::clamp<int64_t>(rounded, 0, std::numeric_limits<uint32_t>::max()));
}

bool IsH264Source(const TVideoStreamInfo &video)
{
    const QString codec = video.Codec.trimmed().toLower();
    const QString codecId = video.CodecID.trimmed().toLower();
    return codec == QLatin1String("h264") || codec == QLatin1String("avc")
        || codec.startsWith(QLatin1String("h264 ")) || codec.startsWith(QLatin1String("avc "))
        || codec.contains(QLatin1String("h.264")) || codecId.contains(QLatin1String("avc"))
        || codecId == QLatin1String("h264");
}

// Step 4 of both pages: a typed bitrate as it is, else an automatic one.
bool AppendBitrate(const PieceContext &ctx, const char *control, const QString &controlText,
    double maxBpp, QString &result)
{
    const QString text = controlText.trimmed();
    if (!IsAutoText(text, ctx.strings)) {
        if (!IsValidTypedBitrate(text)) {
            ctx.warnInvalid(
                control, FormatAppString(ctx.strings.Main.VideoBitrateMustBeInteger, controlText));
            return false;
        }
        result += QStringLiteral(" -b:v ") + text + u'k';
        return true;
    }
    const TVideoStreamInfo &video = ctx.info.VideoStreams[0];
    const int entry = ctx.settings.cbResolution;
    const bool resized = entry == Resolution::Custom || !ctx.resolutionText().isEmpty();
    uint32_t kbps;
    if (resized) {
        const QSize size = BitrateOutputSize(ctx);
        kbps = ScaledVideoBitrate(
            size.width(), size.height(), video.Bitrate, maxBpp, video.FPS, video.BitsPerPixel);
    } else {
        kbps = AutoVideoBitrate(ctx.info, maxBpp);
    }
    result += QStringLiteral(" -b:v ") + QString::number(kbps) + u'k';
    return true;
}

// A typed frame rate; false (after the warning) when it is not a number.
bool AppendTypedFrameRate(
    const PieceContext &ctx, const char *control, const QString &controlText, QString &result)
{
    QString normalized;
    if (!ParseFrameRateText(controlText.trimmed(), &normalized)) {
        ctx.warnInvalid(control, FormatAppString(ctx.strings.Main.FPSMustBeFloat, controlText));
        return false;
    }
    result += QStringLiteral(" -r ") + normalized;
    return true;
}

void AppendEvenSize(const PieceContext &ctx, QString &result)
{
    if (ctx.settings.cbResolution != Resolution::Auto)
        return;
    const TVideoStreamInfo &video = ctx.info.VideoStreams[0];
    const int width = video.Width;
    const int height = video.Height;
    // Both sides must be known: "-s 0x722" would fail the file.
    if (width <= 0 || height <= 0 || (width % 2 == 0 && height % 2 == 0))
        return;
    result += QStringLiteral(" -s %1x%2").arg(width + width % 2).arg(height + height % 2);
}

QString Finish(QString result)
{
    result.remove(u'"');
    return result;
}

} // namespace

QString GetVideoCodecStr(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    if (!s.IsMpg()) {
        if (s.chAviVideoDontCopy)
            return QStringLiteral("-vn");
        const int codec = ctx.aviCodec();
        QString piece = QStringLiteral("-c:v ") + AviVideoCodecEncoder(codec);
        if (codec == AviCodec::Copy && IsH264Source(ctx.info.VideoStreams[0]))
            piece += QStringLiteral(" -bsf:v h264_mp4toannexb");
        return piece;
    }
    if (s.chMpgVideoDontCopy)
        return QStringLiteral("-vn");
    switch (s.cbMpgVideo) {
    case MpgVideo::PalDvd:
        return QStringLiteral("-target pal-dvd");
    case MpgVideo::NtscDvd:
        return QStringLiteral("-target ntsc-dvd");
    case MpgVideo::Custom:
        if (s.cbMpegVersion == MpegVersion::Mpeg1)
            return QStringLiteral("-c:v mpeg1video");
        if (s.cbMpegVersion == MpegVersion::Mpeg2)
            return QStringLiteral("-c:v mpeg2video");
        return {};
    default:
        return {};
    }
}

std::optional<QString> GetVideoParamsStr(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    const TVideoStreamInfo &video = ctx.info.VideoStreams[0];
    QString result;
    if (!s.IsMpg()) {
        if (s.chAviVideoDontCopy)
            return QString();
        const int codec = ctx.aviCodec();
        if (codec == AviCodec::H264) {
            const QString threads = s.cbAviVideoThreads.trimmed();
            result += QStringLiteral(" -threads ")
                + (IsValidInt(threads)
                        ? threads
                        : QString::number(ThreadsForProcessorCount(ctx.processorCount)));
        }
        if (codec == AviCodec::Xvid && s.chAviVideo2Pass)
            result += QStringLiteral(" -q:v 9");
        if (codec <= AviCodec::MotionJpeg
            && !AppendBitrate(ctx, "cbAviVideoBitrate", s.cbAviVideoBitrate, AviMaxBpp, result))
            return std::nullopt;

        if (!IsAutoText(s.cbAviVideoFPS, ctx.strings)) {
            if (!AppendTypedFrameRate(ctx, "cbAviVideoFPS", s.cbAviVideoFPS, result))
                return std::nullopt;
        } else if (codec != AviCodec::Copy && std::isfinite(video.FPS) && video.FPS > 0) {
            // An unknown source rate writes nothing: "-r 0.000" makes FFmpeg
            // refuse the file, while without "-r" it keeps the source's rate.
            result += QStringLiteral(" -r ") + QString::number(video.FPS, 'f', 3);
        }
    } else {
        if (s.chMpgVideoDontCopy)
            return QString();
        if (s.cbMpgVideo == MpgVideo::PalDvd || s.cbMpgVideo == MpgVideo::NtscDvd)
            return QString();
        if (!AppendBitrate(ctx, "cbMpgVideoBitrate", s.cbMpgVideoBitrate, MpgMaxBpp, result))
            return std::nullopt;
        if (!IsAutoText(s.cbMpgVideoFPS, ctx.strings)
            && !AppendTypedFrameRate(ctx, "cbMpgVideoFPS", s.cbMpgVideoFPS, result))
            return std::nullopt;
    }
    AppendEvenSize(ctx, result);
    return Finish(result);
}

uint32_t AutoVideoBitrate(const TVideoFileInfo &Info, double MaxBpp)
{
    const TVideoStreamInfo &video = Info.VideoStreams[0];
    const double bitrate = video.Bitrate;
    const double width = video.Width;
    const double height = video.Height;
    const double fps = video.FPS;
    uint32_t result;
    if (bitrate > 0 && width > 0 && height > 0 && fps > 0 && video.BitsPerPixel > MaxBpp)
        result = ClampBitrate(width * MaxBpp * height * fps / 1000.0);
    else
        result = video.Bitrate > 0 ? uint32_t(video.Bitrate) : 0;
    return result == 0 ? 800 : result;
}

uint32_t ScaledVideoBitrate(
    int Width, int Height, int64_t SourceBitrate, double MaxBpp, double SourceFPS, double SourceBpp)
{
    const double bpp = std::min(SourceBpp, MaxBpp);
    if (!(bpp > 0) || Width <= 0 || Height <= 0 || !(SourceFPS > 0))
        return uint32_t(
            std::clamp<int64_t>(SourceBitrate, 0, std::numeric_limits<uint32_t>::max()));
    return ClampBitrate(double(Width) * bpp * double(Height) * SourceFPS / 1000.0);
}

int ThreadsForProcessorCount(int processorCount)
{
    int count = processorCount;
    if (count <= 0)
        count = 2;
    else if (count > 32)
        count = 4;
    return count / 2;
}

QSize BitrateOutputSize(const PieceContext &ctx)
{
    const TVideoStreamInfo &video = ctx.info.VideoStreams[0];
    if (ctx.settings.cbResolution == Resolution::Custom)
        return QSize(ctx.settings.spedResWidth, ctx.settings.spedResHeight);
    const QString preset = ctx.resolutionText();
    if (!preset.isEmpty())
        return ParseResolutionText(preset, ctx.info);
    return QSize(video.Width + video.Width % 2, video.Height + video.Height % 2);
}

bool ParseFrameRateText(const QString &text, QString *normalized)
{
    if (text.count(u'.') + text.count(u',') > 1)
        return false;
    QString withPoint = text;
    withPoint.replace(u',', u'.');
    bool ok = false;
    const double value = QLocale::c().toDouble(withPoint, &ok);
    if (!ok || !std::isfinite(value))
        return false;
    if (normalized)
        *normalized = withPoint;
    return true;
}
