#pragma once

#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

struct PieceContext;
struct TVideoFileInfo;

// Bits-per-pixel caps of the automatic video bitrate.
inline constexpr double AviMaxBpp = 0.3;
inline constexpr double MpgMaxBpp = 0.5;

// The video codec piece: "-vn", "-c:v <encoder>" or "-target pal-dvd" /
// "-target ntsc-dvd". A copied H.264 stream gets the bitstream filter the
// AVI muxer needs ("-bsf:v h264_mp4toannexb"): without it FFmpeg refuses
// every H.264 source held in MP4 or Matroska.
QString GetVideoCodecStr(const PieceContext &ctx);

// The video parameters piece (threads, quality, bitrate, frame rate, even
// frame size); nothing after a warning for a typed bitrate that is not a
// whole number above 0 or a typed frame rate that is not a number (a run
// then ends, the preview leaves the piece out).
std::optional<QString> GetVideoParamsStr(const PieceContext &ctx);

// The automatic bitrate in kbit/s: the source's own bitrate, capped at
// MaxBpp bits per pixel; 800 when the source bitrate is unknown. Results
// above 65535 are kept (not wrapped to 16 bits).
uint32_t AutoVideoBitrate(const TVideoFileInfo &Info, double MaxBpp);

// The automatic bitrate for a resized output: Width x Height at the
// smaller of SourceBpp and MaxBpp; SourceBitrate (a negative one read as 0)
// when any factor is unknown.
uint32_t ScaledVideoBitrate(int Width, int Height, int64_t SourceBitrate, double MaxBpp,
    double SourceFPS, double SourceBpp);

// The H.264 threads for a reported processor count: half of it, rounded
// down, with 0 or less taken as 2 and more than 32 as 4.
int ThreadsForProcessorCount(int processorCount);

// The output size the automatic bitrate is computed for: the source size
// made even, or the custom size, or the preset's size.
QSize BitrateOutputSize(const PieceContext &ctx);

// A typed frame rate: a number with "." or "," (at most one of them) as the
// decimal point. On success *normalized holds the text with a full stop.
bool ParseFrameRateText(const QString &text, QString *normalized);
