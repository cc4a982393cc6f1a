#pragma once

#include <optional>

#include "analysis/VideoFileInfo.h"
#include "encoding/EncodingSettings.h"
#include "encoding/MessageSink.h"
#include "encoding/PieceContext.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

#include <QStringList>
#include <ostream>

// Readable texts in failure messages.
inline std::ostream &operator<<(std::ostream &os, const QString &text)
{
    return os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << text;
}

namespace CommandTest {

class RecordingSink : public IMessageSink
{
public:
    void warning(const QString &text) override { warnings.append(text); }
    void invalidSetting(const char *control, const QString &text) override
    {
        controls.append(QString::fromLatin1(control));
        warning(text);
    }
    QStringList warnings;
    QStringList controls; // of the invalid settings, in the order reported
};

// English catalogue, the window's start-up settings (Xvid, everything
// "Auto"), the built-in resolution presets, an empty analysis.
struct Inputs
{
    Inputs()
    {
        settings = DefaultEncodingSettings(strings, AviCodec::Xvid);
        lists = BuildEncodingLists(strings, QStringLiteral("/nonexistent/resolutions.txt"),
            QStringLiteral("/nonexistent/fourcc_video_tags.txt"));
    }

    // Valid while this Inputs lives; warnings go to sink.
    PieceContext context(int processors = 8)
    {
        PieceContext ctx(settings, lists, strings, info);
        ctx.messages = &sink;
        ctx.processorCount = processors;
        return ctx;
    }

    // The first video stream.
    void video(int width, int height, double fps, double bpp = 0, int kbps = 0)
    {
        TVideoStreamInfo &v = info.VideoStreams[0];
        v.Exists = true;
        v.Width = uint16_t(width);
        v.Height = uint16_t(height);
        v.FPS = fps;
        v.BitsPerPixel = bpp;
        v.Bitrate = kbps;
        v.StreamIndex = 0;
        info.NumberOfVideoStreams = 1;
    }

    // Appends an audio stream (stream index: its position after the video).
    void audio(int channels, int rate, int kbps)
    {
        TAudioStreamInfo &a = info.AudioStreams[info.NumberOfAudioStreams];
        a.Exists = true;
        a.Channels = uint8_t(channels);
        a.SamplingRate = rate;
        a.Bitrate = kbps;
        a.StreamIndex = uint8_t(info.NumberOfVideoStreams + info.NumberOfAudioStreams);
        ++info.NumberOfAudioStreams;
    }

    TAppStrings strings;
    EncodingSettings settings;
    EncodingLists lists;
    TVideoFileInfo info;
    RecordingSink sink;
};

// Entries of the built-in resolution presets.
inline constexpr int PresetQcif = 3; // "176 x 144 - QCIF"
inline constexpr int PresetVga = 8; // "640 x 480 - VGA"

// A piece as the tables write it: trimmed, or "ERROR" when it failed.
inline QString PieceText(const std::optional<QString> &piece)
{
    return piece ? piece->trimmed() : QStringLiteral("ERROR");
}

} // namespace CommandTest
