#pragma once

#include <QString>
#include <array>
#include <cstdint>

// What one analysis of a media file yields. Plain values; a default-built
// record is in the reset state. Bit rates in kbit/s, durations in
// milliseconds, sizes in bytes, sampling rates in Hz.

struct TSTreamInfoStr
{
    bool StreamExists = false;
    QString Str1; // one trimmed stream line of FFmpeg's file description
};

struct TVideoStreamInfo
{
    bool Exists = false;
    QString Codec;
    QString CodecID;
    QString Profile;
    QString PixelFormat;
    double DAR = 0;
    QString DARStr;
    QString ScanType;
    uint16_t Width = 0;
    uint16_t Height = 0;
    int32_t Bitrate = 0;
    double FPS = 0;
    double BitsPerPixel = 0;
    uint32_t Frames = 0;
    int64_t StreamSize = 0;
    QString StreamSizeStr;
    uint8_t StreamSizeInPercent = 0;
    QString EncodedLibrary;
    uint8_t StreamIndex = 0;
};

struct TAudioStreamInfo
{
    bool Exists = false;
    QString Codec;
    QString CodecID;
    QString CodecFF;
    QString Profile;
    int32_t SamplingRate = 0;
    uint8_t Channels = 0;
    QString ChannelsStr;
    uint8_t BitsPerSample = 0;
    uint32_t Frames = 0;
    int32_t Bitrate = 0;
    QString BitrateMode;
    QString Language;
    int32_t VideoDelay = 0;
    int64_t StreamSize = 0;
    QString StreamSizeStr;
    uint8_t StreamSizeInPercent = 0;
    QString EncodedLibrary;
    uint8_t StreamIndex = 0;
    int32_t DurationMs = 0;
};

inline constexpr int MaxFileNameLength = 511;
inline constexpr int MaxStreamLines = 64;
inline constexpr int MaxVideoStreams = 10;
inline constexpr int MaxAudioStreams = 48;

struct TVideoFileInfo
{
    // At most MaxFileNameLength characters: set it through SetFileName.
    QString FileName;
    int64_t FileSize = 0;
    uint32_t Seconds = 0;
    double Duration = 0;
    QString DurationStr;
    uint32_t Start = 0;
    QString Format;
    QString FormatInfo;
    int32_t OverallBitrate = 0;
    std::array<TSTreamInfoStr, MaxStreamLines> StreamsStr{};
    std::array<TVideoStreamInfo, MaxVideoStreams> VideoStreams{};
    std::array<TAudioStreamInfo, MaxAudioStreams> AudioStreams{};
    // Counts of what the file holds; they may exceed the entries described.
    uint8_t NumberOfAudioStreams = 0;
    uint8_t NumberOfVideoStreams = 0;
    uint16_t NumberOfDataStreams = 0;
    QString EncodedApplication;
    QString MediaInfoFull;
};

void ClearVideoFileInfo(TVideoFileInfo &info);

// Keeps the first 511 UTF-16 code units of the path; a surrogate pair cut
// in half is dropped whole rather than leaving half a character.
void SetFileName(TVideoFileInfo &info, const QString &path);
QString LimitFileName(const QString &path);
