#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

struct PieceContext;
struct EncodingSettings;

// The standard audio bitrates in kbit/s, ascending.
inline constexpr std::array<int, 22> StandardAudioBitrates{8, 16, 24, 32, 40, 48, 56, 64, 80, 96,
    112, 128, 160, 192, 224, 256, 320, 384, 448, 512, 576, 640};

// The bounds of one encoder at one sampling frequency, and which standard
// bitrates lie within them.
struct AudioBitrateCell
{
    int Minimum = 0;
    int Maximum = 0;
    std::array<bool, StandardAudioBitrates.size()> Allowed{};
};

// Rows: the sampling frequencies; columns: the encoders, in table order.
struct BitrateTable
{
    static constexpr std::array<int, 6> SamplingRates{16000, 22050, 24000, 32000, 44100, 48000};
    // Internal encoder names: the table keeps "libfdk_aac" even where a
    // stand-in is written into the command.
    static constexpr std::array<const char *, 6> Codecs{
        "libmp3lame", "mp2", "ac3", "libfdk_aac", "wmav1", "wmav2"};
    // The report's five-character row labels, per codec.
    static constexpr std::array<const char *, 6> Labels{
        " MP3: ", " MP2: ", " AC3: ", " AAC: ", "WMA1: ", "WMA2: "};

    std::array<std::array<AudioBitrateCell, Codecs.size()>, SamplingRates.size()> Cells{};

    // The cell for a codec name (lower case) and a rate; null when either is
    // not in the table.
    const AudioBitrateCell *find(const QString &codec, int samplingRate) const;
};

// The table, filled on first use.
const BitrateTable &AudioBitrateTable();

// The audio codec piece: "-an", "-c:a <encoder>" or empty for a DVD preset.
// "libfdk_aac" becomes "aac" when the FFmpeg build lacks it.
QString GetAudioCodecStr(const PieceContext &ctx);

// The internal encoder name of a cbAudioCodec entry ("auto", "libmp3lame",
// ..., "copy"); empty outside the list.
QString GetSelectedAudioCodecStr(int cbAudioCodec);

// The audio parameters piece (bitrate, sampling frequency, channels,
// volume, synchronisation); nothing after a warning for a typed bitrate
// that is not a whole number above 0 or a sampling frequency that is not an
// integer.
std::optional<QString> GetAudioParamsStr(const PieceContext &ctx);

// The stream mapping of the chosen audio track ("-map 0:<video> -map
// 0:<audio>"), empty for the automatic track and for a track the file does
// not have (or that lies beyond the 48 described streams).
QString GetMapParams(const PieceContext &ctx);

// The table's maximum for a codec and sampling rate; Default when either is
// not in the table.
int MaxAudioBitrate(const QString &Codec, int SamplingRate, int Default);

// The smallest standard bitrate from 32 up that is not below the source
// (Default above 640), then raised to Minimum and capped at Maximum (the cap
// wins). A negative source counts as unknown (0).
int SnapAudioBitrate(int64_t SourceBitrate, int Default, int Minimum, int Maximum);

// The audio bitrate report, lines joined by CR LF.
QString AudioBitrateReport();
// Writes the report to fileName (UTF-8); false when that failed.
bool WriteAudioBitrateReport(const QString &fileName);
// Writes the report to reportFile or, when that cannot be written (a
// program folder the user may not write to), to a file of the same name in
// fallbackDir, created when missing. The file written; empty when neither
// could be.
QString WriteAudioBitrateReportFile(const QString &reportFile, const QString &fallbackDir);

// The number of audio tracks the builders may read: the file's count, but
// never more than the streams the analysis describes.
int DescribedAudioStreams(const PieceContext &ctx);
