#include "analysis/FileInfoReport.h"

#include "analysis/Crc32.h"
#include "analysis/FFmpegProbe.h"
#include "app/AppInfo.h"
#include "app/SafeSave.h"
#include "app/TextHelpers.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace {

const QString LineEnd = QStringLiteral("\r\n");

// Decimals with the locale's separator and no grouping.
QString decimals(double value, int count)
{
    QString text = QString::number(value, 'f', count);
    text.replace(u'.', DecimalSeparatorChar());
    return text;
}

uint32_t scaleRgb(uint32_t rgb, int percent)
{
    uint32_t result = 0;
    for (const int shift : {16, 8, 0}) {
        const int channel = int((rgb >> shift) & 0xFF);
        const int64_t moved = channel + RoundHalfEven(channel * percent / 100.0);
        result |= uint32_t(std::clamp<int64_t>(moved, 0, 255)) << shift;
    }
    return result;
}

QString withCodecId(const QString &codec, const QString &codecId)
{
    return codecId.isEmpty() ? codec : codec + QStringLiteral(" (ID: ") + codecId + u')';
}

QString scanTypeText(const QString &scanType, const TFileInfoModuleStrings &strings)
{
    QString text = scanType;
    if (text.trimmed().toLower() == QLatin1String("interlaced"))
        text = strings.ScanType_Interlaced;
    if (text.trimmed().toLower() == QLatin1String("progressive"))
        text = strings.ScanType_Progressive;
    return text;
}

FileInfoStreamSelector selector(int count, int limit, int number)
{
    FileInfoStreamSelector result;
    result.ItemCount = std::min(count, limit);
    result.Selected = number <= result.ItemCount ? number : 0;
    result.Enabled = count > 1;
    return result;
}

// Lines of a text with any line ends, without the trailing empty ones.
QStringList textLines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

} // namespace

VideoStreamFacts FileInfoVideoValues(
    const TVideoStreamInfo &stream, const TFileInfoModuleStrings &strings)
{
    VideoStreamFacts v;
    v.Codec = withCodecId(stream.Codec, stream.CodecID);
    v.Profile = stream.Profile;
    if (stream.Bitrate > 0)
        v.Bitrate = FormatThousands(stream.Bitrate) + QStringLiteral(" kbit/s");
    v.Resolution
        = FormatThousands(stream.Width) + QStringLiteral(" x ") + FormatThousands(stream.Height);
    v.DisplayAspectRatio = stream.DARStr;
    v.FPS = decimals(stream.FPS, 2);
    v.ScanType = scanTypeText(stream.ScanType, strings);
    v.PixelFormat = stream.PixelFormat;
    if (stream.BitsPerPixel > 0)
        v.BitsPerPixel = decimals(stream.BitsPerPixel, 3);
    v.Frames = QStringLiteral("~ ") + FormatThousands(stream.Frames);
    if (stream.StreamSize > 0)
        v.StreamSize = stream.StreamSizeStr + QStringLiteral(" (")
            + QString::number(stream.StreamSizeInPercent) + QStringLiteral("%)");
    v.EncodedLibrary = stream.EncodedLibrary;
    v.StreamIndex = QString::number(stream.StreamIndex);
    return v;
}

AudioStreamFacts FileInfoAudioValues(const TAudioStreamInfo &stream)
{
    AudioStreamFacts a;
    a.Codec = withCodecId(stream.Codec, stream.CodecID);
    a.Profile = stream.Profile;
    const QString bitrate = FormatThousands(stream.Bitrate);
    if (bitrate != QLatin1String("0"))
        a.Bitrate = bitrate + QStringLiteral(" kbit/s  ") + stream.BitrateMode;
    a.Channels = QString::number(stream.Channels);
    if (stream.SamplingRate != 0)
        a.SamplingRate = FormatThousands(stream.SamplingRate) + QStringLiteral(" Hz");
    if (stream.BitsPerSample != 0)
        a.BitsPerSample = QString::number(stream.BitsPerSample);
    a.Frames = QStringLiteral("~ ") + FormatThousands(stream.Frames);
    a.VideoDelay = QString::number(stream.VideoDelay) + QStringLiteral(" ms");
    a.Language = stream.Language;
    if (!stream.StreamSizeStr.isEmpty() && stream.StreamSizeStr != QLatin1String("0"))
        a.StreamSize = stream.StreamSizeStr + QStringLiteral(" (")
            + QString::number(stream.StreamSizeInPercent) + QStringLiteral("%)");
    a.EncodedLibrary = stream.EncodedLibrary;
    a.StreamIndex = QString::number(stream.StreamIndex);
    return a;
}

QString FileInfoCaption(const TVideoFileInfo &info, const TFileInfoModuleStrings &strings)
{
    const QString separator = QStringLiteral("   ::   ");
    const QString name = info.FileName.mid(info.FileName.lastIndexOf(u'/') + 1);
    return strings.Caption + separator + name + separator
        + FormatSize(info.FileSize, QStringLiteral(" bytes"));
}

uint32_t LightenRgb(uint32_t rgb, int percent)
{
    return scaleRgb(rgb, percent);
}

uint32_t DarkenRgb(uint32_t rgb, int percent)
{
    return scaleRgb(rgb, -percent);
}

DataStreamRowColors DataStreamRowColorsOf(const QString &details)
{
    DataStreamRowColors colors;
    uint32_t text = 0;
    uint32_t background = 0;
    if (details.startsWith(QLatin1String("video"), Qt::CaseInsensitive)) {
        text = 0xFC1003;
        background = 0xFCEDED;
    } else if (details.startsWith(QLatin1String("audio"), Qt::CaseInsensitive)) {
        text = 0x2B7D4B;
        background = 0xE8F4EC;
    } else {
        return colors;
    }
    colors.plain = false;
    colors.text = DarkenRgb(text, 28);
    colors.gradientTop = LightenRgb(background, 3);
    colors.gradientBottom = DarkenRgb(colors.gradientTop, 5);
    return colors;
}

FileInfoDataStreamRow SplitDataStreamLine(const QString &line)
{
    const qsizetype first = line.indexOf(u':');
    const qsizetype second = first >= 0 ? line.indexOf(u':', first + 1) : -1;
    if (second < 0)
        return {QString(), line};
    return {line.left(second).trimmed(), line.mid(second + 1).trimmed()};
}

FileInfoContent FileInfoView(
    const TVideoFileInfo &info, int audioNo, int videoNo, const TFileInfoModuleStrings &strings)
{
    // 0 is taken as 1 as well: there is no stream 0 to show.
    audioNo = std::max(audioNo, 1);
    videoNo = std::max(videoNo, 1);

    FileInfoContent view;
    view.AudioSelector = selector(info.NumberOfAudioStreams, MaxAudioStreams, audioNo);
    view.VideoSelector = selector(info.NumberOfVideoStreams, MaxVideoStreams, videoNo);

    if (!info.FileName.isEmpty()) {
        const QFileInfo file(info.FileName);
        view.FileName = file.fileName();
        view.FileNameTarget = info.FileName;
        view.Directory = file.path();
    }

    view.FileSize = FormatSize(info.FileSize, QStringLiteral(" bytes")) + QStringLiteral(" (")
        + FormatThousands(info.FileSize) + QStringLiteral(" bytes)");
    view.Duration = info.DurationStr;
    view.OverallBitrate = FormatThousands(info.OverallBitrate) + QStringLiteral(" kbit/s");
    view.Format = info.FormatInfo.isEmpty()
        ? info.Format
        : info.Format + QStringLiteral(" (") + info.FormatInfo + u')';
    view.EncodedApplication = info.EncodedApplication;
    view.NumberOfDataStreams = QString::number(info.NumberOfDataStreams);
    view.NumberOfVideoStreams = QString::number(info.NumberOfVideoStreams);
    view.NumberOfAudioStreams = QString::number(info.NumberOfAudioStreams);

    // Only streams the record describes: the counts may exceed its entries.
    if (videoNo <= view.VideoSelector.ItemCount)
        view.Video = FileInfoVideoValues(info.VideoStreams[videoNo - 1], strings);
    if (audioNo <= view.AudioSelector.ItemCount)
        view.Audio = FileInfoAudioValues(info.AudioStreams[audioNo - 1]);

    for (const TSTreamInfoStr &entry : info.StreamsStr)
        if (entry.StreamExists)
            view.DataStreams.append(SplitDataStreamLine(entry.Str1));
    return view;
}

QString FormatFileInfoReport(const TVideoFileInfo &info, const QString &fullFileName,
    std::optional<uint32_t> crc32, const TFileInfoModuleStrings &s, const QString &webSite)
{
    const FileInfoContent view = FileInfoView(info, 1, 1, s);
    const QString rule(71, u'-');
    const auto line
        = [](const QString &label, const QString &value) { return label + u' ' + value; };

    QStringList lines;
    lines << FormatAppString(s.Report_Info, AppInfo::ProgramTitle()) << webSite << QString()
          << line(s.Report_File, fullFileName) << QString() << rule << s.Report_GeneralInfo
          << QString();
    lines << line(s.lblFileSize,
        FormatThousands(info.FileSize) + QStringLiteral(" bytes (")
            + FormatSize(info.FileSize, QStringLiteral(" bytes")) + u')');
    if (crc32 && info.FileSize <= MaxReportCrcFileSize)
        lines << QStringLiteral("CRC32: $") + Crc32Hex(*crc32);
    lines << line(s.lblDuration, view.Duration) << line(s.lblOverallBitrate, view.OverallBitrate)
          << line(s.lblFormat, view.Format)
          << line(s.lblEncodedApplication, view.EncodedApplication)
          << line(s.lblNumberOfDataStreams, view.NumberOfDataStreams)
          << line(s.lblNumberOfVideoStreams, view.NumberOfVideoStreams)
          << line(s.lblNumberOfAudioStreams, view.NumberOfAudioStreams);

    const int videoCount = std::min<int>(info.NumberOfVideoStreams, MaxVideoStreams);
    for (int i = 1; i <= videoCount; ++i) {
        const TVideoStreamInfo &stream = info.VideoStreams[i - 1];
        const VideoStreamFacts v = FileInfoVideoValues(stream, s);
        QString heading = s.Report_VideoStream;
        if (info.NumberOfVideoStreams >= 2)
            heading += u' ' + QString::number(i);
        lines << QString() << rule << heading << QString();
        lines << line(s.lblVideoCodec, stream.Codec) << line(s.lblVideoProfile, v.Profile)
              << line(s.lblVideoBitrate, v.Bitrate) << line(s.lblResolution, v.Resolution)
              << line(s.lblDisplayAspectRatio, v.DisplayAspectRatio) << line(s.lblFPS, v.FPS)
              << line(s.lblScanType, v.ScanType) << line(s.lblPixelFormat, v.PixelFormat)
              << line(s.lblBitsPerPixel, v.BitsPerPixel) << s.lblVideoFrames + v.Frames
              << line(s.lblVideoStreamSize, v.StreamSize)
              << line(s.lblVideoEncodedLibrary, v.EncodedLibrary)
              << line(s.lblVideoStreamIndex, v.StreamIndex);
    }

    const int audioCount = std::min<int>(info.NumberOfAudioStreams, MaxAudioStreams);
    for (int i = 1; i <= audioCount; ++i) {
        const TAudioStreamInfo &stream = info.AudioStreams[i - 1];
        const AudioStreamFacts a = FileInfoAudioValues(stream);
        lines << QString() << rule << s.Report_AudioStream + u' ' + QString::number(i) << QString();
        lines << line(s.lblAudioCodec, stream.Codec) << line(s.lblAudioProfile, a.Profile)
              << line(s.lblAudioBitrate, a.Bitrate) << line(s.lblChannels, a.Channels)
              << line(s.lblSamplingRate, a.SamplingRate)
              << line(s.lblBitsPerSample, a.BitsPerSample) << s.lblAudioFrames + a.Frames
              << line(s.lblVideoDelay, a.VideoDelay) << line(s.lblAudioLanguage, a.Language)
              << line(s.lblAudioStreamSize, a.StreamSize)
              << line(s.lblAudioEncodedLibrary, a.EncodedLibrary)
              << line(s.lblAudioStreamIndex, a.StreamIndex);
    }

    if (!view.DataStreams.isEmpty()) {
        lines << QString() << rule << s.Report_DataStreams + QStringLiteral("   (FFmpeg)");
        for (qsizetype k = 0; k < view.DataStreams.size(); ++k) {
            const FileInfoDataStreamRow &row = view.DataStreams.at(k);
            lines << QStringLiteral("  ") + QString::number(k + 1).rightJustified(2, u' ')
                    + QStringLiteral(": ") + row.Stream + QStringLiteral(" - ") + row.Details;
        }
    }

    if (!info.MediaInfoFull.trimmed().isEmpty())
        lines << QString() << rule << QStringLiteral("MediaInfo") << QString()
              << textLines(info.MediaInfoFull);

    return lines.join(LineEnd) + LineEnd;
}

QString GetInfoAsText(const QString &fileName, const QString &ffmpegPath,
    const QString &mediaInfoDll, const TFileInfoModuleStrings &strings, const QString &webSite,
    bool *ffmpegAnswered, ConsoleRunner *runner)
{
    TVideoFileInfo info;
    const bool answered = ProbeWithFFmpeg(fileName, ffmpegPath, mediaInfoDll, info, runner);
    if (ffmpegAnswered)
        *ffmpegAnswered = answered;
    std::optional<uint32_t> crc;
    if (info.FileSize <= MaxReportCrcFileSize)
        crc = Crc32OfFile(fileName);
    return FormatFileInfoReport(info, fileName, crc, strings, webSite);
}

QString ProposedInfoReportName(const QString &fileName)
{
    return fileName + QStringLiteral("_info.txt");
}

bool SaveInfoReport(const QString &path, const QString &report, QString *error)
{
    return SaveWholeFile(path, "\xEF\xBB\xBF" + report.toUtf8(), error);
}
