#include "encoding/AudioParams.h"

#include "analysis/VideoFileInfo.h"
#include "app/AppParams.h"
#include "app/SafeSave.h"
#include "app/TextHelpers.h"
#include "encoding/EncoderSupport.h"
#include "encoding/PieceContext.h"
#include "encoding/SettingsLists.h"
#include "encoding/SettingsTexts.h"
#include "i18n/AppStrings.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

BitrateTable BuildAudioBitrateTable()
{
    struct Bounds
    {
        int min, max;
    };
    // Rows: 16000, 22050, 24000, 32000, 44100, 48000 Hz; columns: MP3, MP2,
    // AC3, AAC, WMA1, WMA2.
    static constexpr Bounds bounds[6][6] = {
        {{8, 160}, {8, 160}, {16, 320}, {8, 96}, {24, 640}, {24, 640}},
        {{8, 160}, {8, 160}, {16, 320}, {8, 128}, {24, 640}, {24, 640}},
        {{8, 160}, {8, 160}, {16, 320}, {8, 128}, {24, 640}, {24, 640}},
        {{32, 320}, {32, 384}, {32, 640}, {8, 192}, {24, 640}, {24, 640}},
        {{32, 320}, {32, 384}, {32, 640}, {8, 256}, {24, 640}, {24, 640}},
        {{32, 320}, {32, 384}, {32, 640}, {8, 256}, {24, 640}, {24, 640}},
    };

    BitrateTable table;
    for (size_t rate = 0; rate < BitrateTable::SamplingRates.size(); ++rate) {
        for (size_t codec = 0; codec < BitrateTable::Codecs.size(); ++codec) {
            AudioBitrateCell &cell = table.Cells[rate][codec];
            cell.Minimum = bounds[rate][codec].min;
            cell.Maximum = bounds[rate][codec].max;
            for (size_t i = 0; i < StandardAudioBitrates.size(); ++i)
                cell.Allowed[i] = cell.Minimum <= StandardAudioBitrates[i]
                    && StandardAudioBitrates[i] <= cell.Maximum;
        }
    }
    return table;
}

const TAudioStreamInfo &FirstAudio(const PieceContext &ctx)
{
    return ctx.info.AudioStreams[0];
}

bool IsVideoDropped(const EncodingSettings &s)
{
    return s.IsMpg() ? s.chMpgVideoDontCopy : s.chAviVideoDontCopy;
}

} // namespace

const AudioBitrateCell *BitrateTable::find(const QString &codec, int samplingRate) const
{
    const auto rate = std::find(SamplingRates.begin(), SamplingRates.end(), samplingRate);
    const auto name = std::find_if(
        Codecs.begin(), Codecs.end(), [&](const char *c) { return codec == QLatin1String(c); });
    if (rate == SamplingRates.end() || name == Codecs.end())
        return nullptr;
    return &Cells[size_t(rate - SamplingRates.begin())][size_t(name - Codecs.begin())];
}

const BitrateTable &AudioBitrateTable()
{
    static const BitrateTable table = BuildAudioBitrateTable();
    return table;
}

QString GetAudioCodecStr(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    const int codec = ctx.audioCodec();
    if (s.IsMpg() && (s.cbMpgVideo == MpgVideo::PalDvd || s.cbMpgVideo == MpgVideo::NtscDvd))
        return {};
    if (s.IsMpg() && s.cbAudioCodec == AudioCodec::Auto)
        return s.chAudioDontCopy ? QStringLiteral("-an") : QStringLiteral("-c:a mp2");
    if (s.chAudioDontCopy)
        return QStringLiteral("-an");
    if (codec == AudioCodec::Auto) {
        const bool ac3 = FirstAudio(ctx).Channels > 2 || s.cbAudioChannels == AudioChannels::Six;
        return ac3 ? QStringLiteral("-c:a ac3") : QStringLiteral("-c:a libmp3lame");
    }
    return QStringLiteral("-c:a ") + EncoderWithStandIn(AudioCodecEncoder(codec), ctx.encoders);
}

QString GetSelectedAudioCodecStr(int cbAudioCodec)
{
    return AudioCodecEncoder(cbAudioCodec);
}

namespace {

// " -b:a N k": the typed bitrate, or one snapped from the source's within
// the limits of the encoder at the output's sampling rate; nullopt (with the
// warning) for a typed value that is not a bitrate.
std::optional<QString> audioBitrateParams(const PieceContext &ctx, const QString &sampling)
{
    const EncodingSettings &s = ctx.settings;
    const int codec = ctx.audioCodec();
    const QString bitrate = s.cbAudioBitrate.trimmed();
    if (!IsAutoText(bitrate, ctx.strings)) {
        if (!IsValidTypedBitrate(bitrate)) {
            ctx.warnInvalid("cbAudioBitrate",
                FormatAppString(ctx.strings.Main.AudioBitrateMustBeInteger, s.cbAudioBitrate));
            return std::nullopt;
        }
        return QStringLiteral(" -b:a ") + bitrate + u'k';
    }
    const TAudioStreamInfo &first = FirstAudio(ctx);
    QString name = GetSelectedAudioCodecStr(codec);
    if (codec == AudioCodec::Auto
        && (first.Channels > 2 || s.cbAudioChannels == AudioChannels::Six))
        name = QStringLiteral("ac3");
    if (s.IsMpg())
        name = QStringLiteral("mp2");
    // The encoder runs at a typed frequency, so its limits apply.
    const bool typedSampling = !IsAutoText(sampling, ctx.strings);
    const int rate = typedSampling && IsValidInt(sampling) ? sampling.toInt() : first.SamplingRate;
    const int maximum = MaxAudioBitrate(name, rate, 320);
    int kbps = SnapAudioBitrate(first.Bitrate, 128, ctx.minAutoAudioBitrate, maximum);
    if (kbps == 0)
        kbps = 128;
    return QStringLiteral(" -b:a ") + QString::number(kbps) + u'k';
}

QString audioChannelParams(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    const int codec = ctx.audioCodec();
    switch (s.cbAudioChannels) {
    case AudioChannels::Mono:
    case AudioChannels::Stereo:
        return QStringLiteral(" -ac ") + QString::number(s.cbAudioChannels);
    case AudioChannels::Six:
        return QStringLiteral(" -ac 6");
    case AudioChannels::Auto:
        if (s.IsMpg())
            return QStringLiteral(" -ac 2");
        if ((codec == AudioCodec::Mp3 || codec == AudioCodec::Mp2 || codec == AudioCodec::Wma1
                || codec == AudioCodec::Wma2)
            && DescribedAudioStreams(ctx) > 0) {
            int track = s.cbAudioTrackNo;
            if (track <= 0 || track > DescribedAudioStreams(ctx))
                track = 1;
            if (ctx.info.AudioStreams[size_t(track - 1)].Channels > 2)
                return QStringLiteral(" -ac 2");
        }
        return {};
    default:
        return {};
    }
}

} // namespace

std::optional<QString> GetAudioParamsStr(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    const int codec = ctx.audioCodec();
    if (s.chAudioDontCopy)
        return QString();

    const QString sampling = s.cbAudioSampling.trimmed();
    QString result;
    // WMA2 gets the bitrate like its sister WMA1: its column exists and the
    // control stays enabled for it.
    if (codec <= AudioCodec::Wma2) {
        const std::optional<QString> bitrate = audioBitrateParams(ctx, sampling);
        if (!bitrate)
            return std::nullopt;
        result += *bitrate;
    }

    if (!IsAutoText(sampling, ctx.strings)) {
        if (!IsValidTypedBitrate(sampling)) {
            ctx.warnInvalid("cbAudioSampling",
                FormatAppString(ctx.strings.Main.AudioSamplingMustBeInteger, s.cbAudioSampling));
            return std::nullopt;
        }
        if (codec < AudioCodec::Copy)
            result += QStringLiteral(" -ar ") + sampling;
    }
    result += audioChannelParams(ctx);

    // A copied stream cannot be filtered: FFmpeg would refuse every file.
    if (s.tbAudioVolume != 100 && codec != AudioCodec::Copy)
        result += QStringLiteral(" -af volume=") + FormatVolumeFactor(s.tbAudioVolume);
    result += QStringLiteral(" -async 1");
    result.remove(u'"');
    return result;
}

QString GetMapParams(const PieceContext &ctx)
{
    const int track = ctx.settings.cbAudioTrackNo;
    if (track <= 0 || track > DescribedAudioStreams(ctx))
        return {};
    QString result;
    if (!IsVideoDropped(ctx.settings) && ctx.info.NumberOfVideoStreams >= 1)
        result = QStringLiteral("-map 0:%1 ").arg(ctx.info.VideoStreams[0].StreamIndex);
    return result
        + QStringLiteral("-map 0:%1").arg(ctx.info.AudioStreams[size_t(track - 1)].StreamIndex);
}

int MaxAudioBitrate(const QString &Codec, int SamplingRate, int Default)
{
    const AudioBitrateCell *cell = AudioBitrateTable().find(Codec.toLower(), SamplingRate);
    return cell ? cell->Maximum : Default;
}

int SnapAudioBitrate(int64_t SourceBitrate, int Default, int Minimum, int Maximum)
{
    const int64_t source = std::max<int64_t>(SourceBitrate, 0);
    int result = Default;
    for (size_t i = 3; i < StandardAudioBitrates.size(); ++i) {
        if (StandardAudioBitrates[i] >= source) {
            result = StandardAudioBitrates[i];
            break;
        }
    }
    if (source < Minimum)
        result = Minimum;
    if (Maximum < source)
        result = Maximum;
    return result;
}

QString AudioBitrateReport()
{
    const BitrateTable &table = AudioBitrateTable();
    QStringList lines{QStringLiteral("AUDIO BITRATE INFO"), QString()};
    for (size_t rate = 0; rate < table.SamplingRates.size(); ++rate) {
        lines.append(
            QStringLiteral("Sampling rate: ") + QString::number(table.SamplingRates[rate]));
        for (size_t codec = 0; codec < table.Codecs.size(); ++codec) {
            QString line = QLatin1String(table.Labels[codec]);
            const AudioBitrateCell &cell = table.Cells[rate][codec];
            for (size_t i = 0; i < StandardAudioBitrates.size(); ++i)
                line += (cell.Allowed[i] ? QString::number(StandardAudioBitrates[i])
                                         : QStringLiteral("-"))
                            .rightJustified(4);
            lines.append(line);
        }
        if (rate + 1 < table.SamplingRates.size())
            lines.append(QString());
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

bool WriteAudioBitrateReport(const QString &fileName)
{
    return SaveWholeFile(fileName, AudioBitrateReport().toUtf8());
}

QString WriteAudioBitrateReportFile(const QString &reportFile, const QString &fallbackDir)
{
    if (WriteAudioBitrateReport(reportFile))
        return reportFile;
    if (fallbackDir.isEmpty() || !QDir().mkpath(fallbackDir))
        return {};
    const QString fallback = QDir(fallbackDir).filePath(QFileInfo(reportFile).fileName());
    return WriteAudioBitrateReport(fallback) ? fallback : QString();
}

int DescribedAudioStreams(const PieceContext &ctx)
{
    return std::min<int>(ctx.info.NumberOfAudioStreams, MaxAudioStreams);
}
