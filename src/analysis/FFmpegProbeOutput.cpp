#include "analysis/FFmpegProbeOutput.h"

#include "app/TextHelpers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A number as FFmpeg or a user may write it: "." and "," both stand for the
// decimal separator.
bool toLenientNumber(QString text, double &value)
{
    const QChar separator = DecimalSeparatorChar();
    text.replace(u'.', separator).replace(u',', separator);
    if (!IsValidFloat(text))
        return false;
    value = ParseFloatLenient(text, -1);
    return true;
}

bool toInt(const QString &text, int &value)
{
    if (!IsValidInt(text))
        return false;
    value = text.toInt();
    return true;
}

// Unsigned fields of the record take a value only when it fits them.
template <typename T> void setIfInRange(T &field, int value)
{
    if (value >= 0 && value <= int(std::numeric_limits<T>::max()))
        field = T(value);
}

template <typename T> T roundToUnsigned(double value)
{
    const int64_t rounded = RoundHalfEven(value);
    return T(std::clamp<int64_t>(rounded, 0, std::numeric_limits<T>::max()));
}

QStringList splitParts(const QString &line)
{
    QStringList parts = line.split(u',');
    for (QString &part : parts)
        part = part.trimmed();
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    return parts;
}

// The second part of a stream line split at the commas outside parentheses:
// "yuv420p(tv, bt709, progressive)" stays whole. Only the pixel format is
// read this way; the other parts keep their positions of the plain split.
QString pixelFormatPart(const QString &line)
{
    int depth = 0;
    qsizetype start = -1;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'(')
            ++depth;
        else if (c == u')')
            depth = std::max(depth - 1, 0);
        else if (c == u',' && depth == 0) {
            if (start >= 0)
                return line.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    return start >= 0 ? line.mid(start).trimmed() : QString();
}

// "Stream #0:0(eng): Video: h264 (High)" gives "h264 (High)".
QString afterKind(const QString &part, QLatin1String kind)
{
    const qsizetype at = part.indexOf(kind);
    return at >= 0 ? part.mid(at + kind.size()).trimmed() : part;
}

void frameRateFrom(QString text, TVideoStreamInfo &stream)
{
    qsizetype at = text.indexOf(QLatin1String("fps"));
    if (at >= 0)
        text = text.left(at).trimmed();
    at = text.indexOf(QLatin1String("tbr"));
    if (at >= 0)
        text = text.left(at).trimmed();
    double fps = 0;
    if (toLenientNumber(text, fps) && fps >= 0)
        stream.FPS = fps;
}

void readDurationLine(const QString &line, TVideoFileInfo &info)
{
    QString rest = line.mid(line.indexOf(QLatin1String("Duration:")) + 9);
    qsizetype comma = rest.indexOf(u',');
    if (comma < 0)
        return;
    const QString durationText = rest.left(comma).trimmed();
    info.DurationStr = durationText;
    double seconds = ParseFFmpegDuration(durationText);
    info.Duration = seconds * 1000;
    info.Seconds = roundToUnsigned<uint32_t>(seconds);
    rest = rest.mid(comma + 1);

    qsizetype at = rest.indexOf(QLatin1String("start:"));
    if (at >= 0) {
        rest = rest.mid(at + 6).trimmed();
        comma = rest.indexOf(u',');
        double start = 0;
        if (comma >= 0 && toLenientNumber(rest.left(comma), start)) {
            // A negative start (edit lists) must not wrap the unsigned field.
            info.Start = roundToUnsigned<uint32_t>(start);
            seconds = std::max(0.0, seconds - start);
            info.Seconds = roundToUnsigned<uint32_t>(seconds);
        }
    }

    at = rest.indexOf(QLatin1String("bitrate:"));
    if (at >= 0) {
        QString text = rest.mid(at + 8);
        const qsizetype unit = text.indexOf(QLatin1String("kb/s"));
        if (unit >= 0)
            text = text.left(unit).trimmed();
        int bitrate = 0;
        if (toInt(text, bitrate)) {
            // The overall rate less a typical audio share: a first guess at
            // the video rate until the stream line or MediaInfo gives one.
            if (bitrate > 100)
                bitrate -= 60;
            info.VideoStreams[0].Bitrate = std::max(bitrate, 0);
        }
    }
}

} // namespace

double ParseFFmpegDuration(const QString &text)
{
    const QChar separator = DecimalSeparatorChar();
    QString t = text;
    t.replace(u'.', separator).replace(u',', separator).remove(u' ');
    qsizetype colon = t.indexOf(u':');
    if (colon < 0)
        return 0;
    int hours = 0;
    int minutes = 0;
    double seconds = 0;
    toInt(t.left(colon), hours);
    t = t.mid(colon + 1);
    colon = t.indexOf(u':');
    if (colon >= 0) {
        toInt(t.left(colon), minutes);
        if (IsValidFloat(t.mid(colon + 1)))
            seconds = ParseFloatLenient(t.mid(colon + 1), 0);
    }
    const double total = hours * 3600.0 + minutes * 60.0 + seconds;
    // The record holds milliseconds: a text beyond them is no duration.
    return std::isfinite(total * 1000) ? total : 0;
}

int StreamNumberOf(const QString &streamLine)
{
    const qsizetype hash = streamLine.indexOf(u'#');
    if (hash < 0)
        return -1;
    const qsizetype colon = streamLine.indexOf(u':', hash + 1);
    if (colon < 0)
        return -1;
    qsizetype end = colon + 1;
    while (end < streamLine.size() && streamLine.at(end).isDigit()
        && streamLine.at(end).unicode() < 128)
        ++end;
    // Stream numbers are small; a run of digits that overflows is no number.
    const qsizetype digits = end - colon - 1;
    if (digits == 0 || digits > 9)
        return -1;
    return streamLine.mid(colon + 1, digits).toInt();
}

bool IsStreamLine(const QString &line)
{
    // Only a line that starts with "Stream #": the input line, metadata and
    // side data quote file names and tags, which may contain the words.
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(QLatin1String("Stream #"))
        && !trimmed.startsWith(QLatin1String("Guess"));
}

void ReadVideoStreamLine(const QString &line, uint32_t seconds, TVideoStreamInfo &stream)
{
    setIfInRange(stream.StreamIndex, StreamNumberOf(line));
    const QStringList parts = splitParts(line);
    if (parts.isEmpty())
        return;

    stream.Exists = true;
    stream.Codec = afterKind(parts.at(0), QLatin1String("Video:"));
    if (parts.size() > 1)
        stream.PixelFormat = pixelFormatPart(line);
    if (parts.size() > 2) {
        const QString &size = parts.at(2);
        const qsizetype x = size.indexOf(u'x');
        if (x >= 0) {
            int value = 0;
            if (toInt(size.left(x), value))
                setIfInRange(stream.Width, value);
            QString height = size.mid(x + 1);
            const qsizetype bracket = height.indexOf(u'[');
            if (bracket >= 0)
                height = height.left(bracket).trimmed();
            if (toInt(height, value))
                setIfInRange(stream.Height, value);
        }
    }
    if (parts.size() > 3) {
        QString part = parts.at(3);
        const qsizetype unit = part.indexOf(QLatin1String("kb/s"));
        if (unit >= 0) {
            part = part.left(unit).trimmed();
            int bitrate = 0;
            // An MPEG-1 stream without a rate in its header shows 104857
            // kb/s (the field's maximum): not a rate.
            if (toInt(part, bitrate) && bitrate > 0
                && !(stream.Codec == QLatin1String("mpeg1video") && bitrate >= 10000))
                stream.Bitrate = bitrate;
        }
        if (part.contains(QLatin1String("tbr")) || part.contains(QLatin1String("fps")))
            frameRateFrom(part, stream);
    }
    if (parts.size() > 4)
        frameRateFrom(parts.at(4), stream);
    if (parts.size() > 5 && stream.FPS == 0)
        frameRateFrom(parts.at(5), stream);

    if (stream.Bitrate > 0 && stream.Width > 0 && stream.Height > 0 && stream.FPS > 0) {
        // A rate too close to zero gives no finite figure.
        const double bitsPerPixel
            = stream.Bitrate * 1000.0 / (double(stream.Width) * stream.Height * stream.FPS);
        if (std::isfinite(bitsPerPixel))
            stream.BitsPerPixel = bitsPerPixel;
    }
    stream.Frames = roundToUnsigned<uint32_t>(seconds * stream.FPS);
}

void ReadAudioStreamLine(const QString &line, TAudioStreamInfo &stream)
{
    setIfInRange(stream.StreamIndex, StreamNumberOf(line));
    const QStringList parts = splitParts(line);
    if (parts.isEmpty())
        return;

    stream.Exists = true;
    stream.Codec = afterKind(parts.at(0), QLatin1String("Audio:"));
    const qsizetype space = stream.Codec.indexOf(u' ');
    stream.CodecFF = space >= 0 ? stream.Codec.left(space).trimmed() : stream.Codec;

    for (const QString &part : parts) {
        const qsizetype unit = part.indexOf(QLatin1String("kb/s"));
        int bitrate = 0;
        if (unit >= 0 && toInt(part.left(unit).trimmed(), bitrate))
            stream.Bitrate = std::max(bitrate, 0);
    }
    if (parts.size() > 3) {
        // The sample format: s16 gives 16, s32 (24 bit) gives 32, fltp nothing.
        QString format = parts.at(3);
        const qsizetype paren = format.indexOf(u'(');
        if (paren >= 0)
            format = format.left(paren).trimmed();
        if (format.startsWith(u's'))
            format.remove(0, 1);
        int bits = 0;
        if (toInt(format, bits))
            setIfInRange(stream.BitsPerSample, bits);
    }
    for (const QString &part : parts) {
        if (stream.Channels == 0 && part == QLatin1String("stereo"))
            stream.Channels = 2;
        else if (stream.Channels == 0 && part == QLatin1String("mono"))
            stream.Channels = 1;
    }
}

void ParseFFmpegProbeOutput(const QStringList &lines, TVideoFileInfo &info)
{
    auto freeLine = std::find_if(info.StreamsStr.begin(), info.StreamsStr.end(),
        [](const TSTreamInfoStr &entry) { return !entry.StreamExists; });
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        // Only FFmpeg's own duration line; a tag or file name quoting
        // "Duration:" is not one.
        if (trimmed.startsWith(QLatin1String("Duration:")))
            readDurationLine(trimmed, info);
        if (IsStreamLine(trimmed) && freeLine != info.StreamsStr.end()) {
            freeLine->StreamExists = true;
            freeLine->Str1 = trimmed;
            ++freeLine;
        }
    }

    int videoCount = 0;
    int audioCount = 0;
    for (const TSTreamInfoStr &entry : info.StreamsStr) {
        if (!entry.StreamExists)
            continue;
        if (entry.Str1.contains(QLatin1String("Video:"))) {
            ++videoCount;
            if (videoCount <= MaxVideoStreams)
                ReadVideoStreamLine(entry.Str1, info.Seconds, info.VideoStreams[videoCount - 1]);
        }
        if (entry.Str1.contains(QLatin1String("Audio:"))) {
            ++audioCount;
            if (audioCount <= MaxAudioStreams)
                ReadAudioStreamLine(entry.Str1, info.AudioStreams[audioCount - 1]);
        }
    }
    info.NumberOfVideoStreams = uint8_t(videoCount);
    info.NumberOfAudioStreams = uint8_t(audioCount);
}

void EstimateVideoStreamSize(TVideoFileInfo &info)
{
    TVideoStreamInfo &video = info.VideoStreams[0];
    if (info.NumberOfVideoStreams != 1 || video.StreamSize > 0)
        return;
    int64_t audioSize = 0;
    const int audioCount = std::min<int>(info.NumberOfAudioStreams, MaxAudioStreams);
    for (int i = 0; i < audioCount; ++i)
        audioSize += info.AudioStreams[i].StreamSize;
    if (audioSize <= 0)
        return;
    // Audio sizes beyond the file size are a broken report, not a negative
    // video stream.
    const int64_t size = info.FileSize - audioSize;
    if (size <= 0)
        return;
    video.StreamSize = size;
    video.StreamSizeStr = FormatSize(size, QStringLiteral(" bytes"));
    video.StreamSizeInPercent = uint8_t(
        std::min<int64_t>(RoundHalfEven(double(size) * 100.0 / double(info.FileSize)), 100));
}
