#include "analysis/MediaInfoAnalysis.h"

#include "analysis/MediaInfoLibrary.h"
#include "app/TextHelpers.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace {

using Kind = MediaInfoStreamKind;

// Stores a whole-number value only when it fits the field, so an odd answer
// never wraps around in a narrow field.
template <typename T> bool setWhole(T &field, const QString &text)
{
    int64_t value = 0;
    if (!ParseWholeNumber(text, value))
        return false;
    if (!std::in_range<T>(value))
        return false;
    field = T(value);
    return true;
}

// Sizes and rates: a negative answer (a broken file) is no value.
template <typename T> bool setAmount(T &field, const QString &text)
{
    T value = 0;
    if (!setWhole(value, text) || value < 0)
        return false;
    field = value;
    return true;
}

// The library's numbers use a full stop; the user's locale may not.
QString withLocaleSeparator(QString text)
{
    const QChar separator = DecimalSeparatorChar();
    qsizetype at = text.indexOf(u'.');
    if (at >= 0)
        text[at] = separator;
    at = text.indexOf(u',');
    if (at >= 0)
        text[at] = separator;
    return text;
}

bool parseNumber(const QString &text, double &value)
{
    const QString t = withLocaleSeparator(text);
    if (!IsValidFloat(t))
        return false;
    value = ParseFloatLenient(t, -1);
    return true;
}

// Ratios and rates: only a value of zero or more is stored.
bool parseAmount(const QString &text, double &value)
{
    double parsed = 0;
    if (!parseNumber(text, parsed) || parsed < 0)
        return false;
    value = parsed;
    return true;
}

// An empty answer means "not reported": what the record held stays.
void setText(QString &field, const QString &value)
{
    if (!value.isEmpty())
        field = value;
}

QString firstNonEmpty(const QString &first, const QString &second)
{
    return first.isEmpty() ? second : first;
}

void replaceFirst(QString &text, const QString &from, const QString &to)
{
    const qsizetype at = text.indexOf(from, 0, Qt::CaseInsensitive);
    if (at >= 0)
        text.replace(at, from.size(), to);
}

class Reader
{
public:
    explicit Reader(const MediaInfoHandle &handle)
        : m_handle(handle)
    { }

    QString get(Kind kind, int stream, const QString &parameter) const
    {
        return m_handle.get(kind, stream, parameter);
    }

    // A stream count; negative answers are not counts.
    bool count(Kind kind, int64_t &n) const
    {
        return ParseWholeNumber(get(kind, 0, QStringLiteral("StreamCount")), n) && n >= 0;
    }

    template <typename Stream> void readStreamSize(Kind kind, int i, Stream &stream) const
    {
        setAmount(stream.StreamSize, get(kind, i, QStringLiteral("StreamSize")));

        QString t = get(kind, i, QStringLiteral("StreamSize/String"));
        replaceFirst(t, QStringLiteral("MiB"), QStringLiteral("MB"));
        replaceFirst(t, QStringLiteral("KiB"), QStringLiteral("KB"));
        replaceFirst(t, QStringLiteral("GiB"), QStringLiteral("GB"));
        const qsizetype open = t.indexOf(u'(');
        if (open < 0) {
            setText(stream.StreamSizeStr, t);
            return;
        }
        setText(stream.StreamSizeStr, t.left(open).trimmed());
        QString percentText = t.mid(open + 1);
        percentText.remove(QStringLiteral("%)"));
        int64_t percent = 0;
        // A share of the file: a broken file may claim more than all of it.
        if (ParseWholeNumber(percentText.trimmed(), percent) && percent >= 0)
            stream.StreamSizeInPercent = uint8_t(std::min<int64_t>(percent, 100));
    }

    void readContainer(TVideoFileInfo &info) const
    {
        setText(info.Format, get(Kind::General, 0, QStringLiteral("Format")));
        setText(info.FormatInfo, get(Kind::General, 0, QStringLiteral("Format/Info")));
        int32_t bitRate = 0;
        if (setAmount(bitRate, get(Kind::General, 0, QStringLiteral("OverallBitRate"))))
            info.OverallBitrate = bitRate / 1000;
        setText(info.EncodedApplication,
            firstNonEmpty(get(Kind::General, 0, QStringLiteral("Encoded_Application")),
                get(Kind::General, 0, QStringLiteral("Encoded_Library"))));
    }

    void readContainerDuration(TVideoFileInfo &info) const
    {
        double ms = 0;
        if (!parseNumber(get(Kind::General, 0, QStringLiteral("Duration")), ms))
            return;
        const int64_t d = RoundHalfEven(ms);
        if (d <= 0 || d > std::numeric_limits<int32_t>::max())
            return;
        info.Duration = double(d);
        info.DurationStr = MsToTimeStr(int32_t(d));
    }

    void readVideo(int i, TVideoStreamInfo &v) const
    {
        const auto value
            = [&](const char16_t *name) { return get(Kind::Video, i, QString::fromUtf16(name)); };
        const QString format = value(u"Format");
        const QString version = value(u"Format_Version");
        setText(v.CodecID, firstNonEmpty(value(u"CodecID/Hint"), value(u"CodecID")));
        if (!format.isEmpty())
            v.Codec = version.isEmpty() ? format : format + QStringLiteral(" - ") + version;
        setText(v.Profile, value(u"Format_Profile"));

        int32_t bitRate = 0;
        if (setWhole(bitRate, value(u"BitRate")))
            v.Bitrate = std::max(bitRate / 1000, 0);

        setWhole(v.Width, value(u"Width"));
        setWhole(v.Height, value(u"Height"));
        parseAmount(value(u"DisplayAspectRatio"), v.DAR);
        setText(v.DARStr, withLocaleSeparator(value(u"DisplayAspectRatio/String")));
        parseAmount(value(u"FrameRate"), v.FPS);
        setWhole(v.Frames, value(u"FrameCount"));

        if (v.Bitrate > 0 && v.Width > 0 && v.Height > 0 && v.FPS > 0) {
            // A rate too close to zero gives no finite figure.
            const double bitsPerPixel = v.Bitrate * 1000.0 / (double(v.Width) * v.Height * v.FPS);
            if (std::isfinite(bitsPerPixel))
                v.BitsPerPixel = bitsPerPixel;
        }
        parseAmount(value(u"Bits-(Pixel*Frame)"), v.BitsPerPixel);

        setText(v.ScanType, value(u"ScanType/String"));
        readStreamSize(Kind::Video, i, v);
        setText(v.EncodedLibrary,
            firstNonEmpty(value(u"Encoded_Application"), value(u"Encoded_Library/String")));
    }

    void readAudio(int i, TAudioStreamInfo &a, TVideoFileInfo &info) const
    {
        const auto value
            = [&](const char16_t *name) { return get(Kind::Audio, i, QString::fromUtf16(name)); };
        const QString format = value(u"Format");
        const QString version = value(u"Format_Version");
        QString codecInfo = value(u"CodecID/Hint");
        if (codecInfo.isEmpty() || IsValidInt(codecInfo))
            codecInfo = value(u"CodecID/Info");
        setText(a.CodecID, value(u"CodecID"));
        if (codecInfo == format)
            codecInfo.clear();
        if (!format.isEmpty()) {
            QString codec = format;
            if (!version.isEmpty())
                codec += QStringLiteral(" - ") + version;
            if (!codecInfo.isEmpty())
                codec += QStringLiteral(" (") + codecInfo + u')';
            a.Codec = codec;
        }

        readDuration(value(u"Duration"), a, info);
        setText(a.Profile, value(u"Format_Profile"));
        readAudioBitrate(value(u"BitRate"), a);

        const QString mode = value(u"BitRate_Mode");
        setText(a.BitrateMode, mode);
        if (mode.toUpper() == QStringLiteral("CBR") && a.Bitrate % 2 != 0)
            ++a.Bitrate; // a constant 191 kbit/s stream is meant as 192

        // The channel count as encoded, when the library tells it apart from
        // the decoded one, is the one that matters for conversion.
        setWhole(a.Channels, value(u"Channel(s)_Original"));
        if (a.Channels == 0)
            setWhole(a.Channels, value(u"Channel(s)"));
        setText(a.ChannelsStr, value(u"Channel(s)/String"));

        setAmount(a.SamplingRate, value(u"SamplingRate"));
        setWhole(a.BitsPerSample, value(u"BitDepth"));
        setWhole(a.Frames, value(u"SamplingCount"));
        setWhole(a.VideoDelay, value(u"Video_Delay"));
        setText(a.Language, value(u"Language/String"));
        readStreamSize(Kind::Audio, i, a);
        setText(a.EncodedLibrary,
            firstNonEmpty(value(u"Encoded_Library"), value(u"Encoded_Library/String")));
    }

private:
    // Current libraries report stream durations in milliseconds with
    // decimals ("1024.000000"), older ones as whole numbers: both count.
    static void readDuration(const QString &text, TAudioStreamInfo &a, TVideoFileInfo &info)
    {
        a.DurationMs = 0;
        double ms = 0;
        if (!parseNumber(text, ms))
            return;
        const int64_t d = RoundHalfEven(ms);
        if (d < 0 || d > std::numeric_limits<int32_t>::max())
            return;
        // The container's duration comes from the first audio stream that
        // has one, unless the caller (the FFmpeg probe) set it already.
        if (info.Duration <= 0) {
            info.Duration = double(d);
            info.DurationStr = MsToTimeStr(int32_t(d));
        }
        a.DurationMs = int32_t(d);
    }

    // A stream made of two parts reports both rates ("1509000 / 640000");
    // their mean stands for the stream.
    static void readAudioBitrate(const QString &text, TAudioStreamInfo &a)
    {
        int64_t b = 0;
        const qsizetype slash = text.indexOf(u'/');
        if (slash >= 0) {
            int32_t left = 0;
            int32_t right = 0;
            if (setWhole(left, text.left(slash).trimmed())
                && setWhole(right, text.mid(slash + 1).trimmed()))
                b = (int64_t(left) + right) / 2;
        } else {
            int32_t whole = 0;
            if (setWhole(whole, text))
                b = whole;
        }
        if (b > 0)
            a.Bitrate = int32_t(b / 1000);
        if (a.Bitrate < 0)
            a.Bitrate = 0;
    }

    const MediaInfoHandle &m_handle;
};

template <typename T> T clampCount(int64_t n)
{
    return T(std::min<int64_t>(n, std::numeric_limits<T>::max()));
}

} // namespace

void ReadMediaInfo(const QString &fileName, const QString &mediaInfoDll, TVideoFileInfo &info)
{
    ReadMediaInfo(OpenMediaInfo(fileName, mediaInfoDll).get(), info);
}

std::unique_ptr<MediaInfoHandle> OpenMediaInfo(const QString &fileName, const QString &mediaInfoDll)
{
    if (mediaInfoDll.isEmpty() || !QFileInfo::exists(mediaInfoDll))
        return nullptr;
    if (FileSizeOf(fileName) == 0)
        return nullptr;
    if (!LoadMediaInfoLibrary(mediaInfoDll))
        return nullptr;
    auto handle = std::make_unique<MediaInfoHandle>();
    if (!handle->isValid() || !handle->open(fileName))
        return nullptr;
    return handle;
}

void ReadMediaInfo(const MediaInfoHandle *opened, TVideoFileInfo &info)
{
    if (!opened)
        return;
    const MediaInfoHandle &handle = *opened;
    MediaInfoOption(QStringLiteral("Complete"), QStringLiteral("0"));
    setText(info.MediaInfoFull, handle.inform());

    const Reader reader(handle);
    constexpr int kindCount = int(Kind::Menu) + 1;
    std::array<int64_t, kindCount> counts{};
    std::array<bool, kindCount> counted{};
    int64_t total = 0;
    for (int kind = 0; kind < kindCount; ++kind) {
        counted[kind] = reader.count(Kind(kind), counts[kind]);
        if (counted[kind])
            total += counts[kind];
    }
    const auto countOf = [&](Kind kind) { return counted[int(kind)] ? counts[int(kind)] : 0; };
    if (counted[int(Kind::Video)])
        info.NumberOfVideoStreams = clampCount<uint8_t>(countOf(Kind::Video));
    if (counted[int(Kind::Audio)])
        info.NumberOfAudioStreams = clampCount<uint8_t>(countOf(Kind::Audio));
    // The general stream describes the container, not a stream of it.
    if (std::find(counted.begin(), counted.end(), true) != counted.end())
        info.NumberOfDataStreams = clampCount<uint16_t>(std::max<int64_t>(total - 1, 0));

    if (countOf(Kind::General) > 0)
        reader.readContainer(info);
    for (int i = 0; i < std::min<int64_t>(countOf(Kind::Video), MaxVideoStreams); ++i)
        reader.readVideo(i, info.VideoStreams[size_t(i)]);
    for (int i = 0; i < std::min<int64_t>(countOf(Kind::Audio), MaxAudioStreams); ++i)
        reader.readAudio(i, info.AudioStreams[size_t(i)], info);
    // A file without audio (a screen recording, a time-lapse) still has a
    // length: the container's, when no audio stream gave one.
    if (info.Duration <= 0 && countOf(Kind::General) > 0)
        reader.readContainerDuration(info);
}
