#pragma once

#include "analysis/VideoFileInfo.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// Reading FFmpeg's description of an input (what "ffmpeg -i FILE" prints)
// into a TVideoFileInfo. Pure functions of the captured lines.

// "01:23:45.67" in seconds; 0 for a text without ":" (such as "N/A").
double ParseFFmpegDuration(const QString &text);

// The number after the first ":" that follows the first "#" of a stream line:
// "Stream #0:12(eng): ..." gives 12. -1 when there are no digits there.
int StreamNumberOf(const QString &streamLine);

// The stream lines FFmpeg prints are indented lines starting with "Stream #";
// its notes on guessed channel layouts start with "Guess" and are not.
bool IsStreamLine(const QString &line);

// Fills one entry from its FFmpeg stream line (commas split the line into
// parts, also commas inside parentheses). seconds is the record's Seconds,
// from which Frames is computed.
void ReadVideoStreamLine(const QString &line, uint32_t seconds, TVideoStreamInfo &stream);
void ReadAudioStreamLine(const QString &line, TAudioStreamInfo &stream);

// Reads the captured lines of one probe into info: duration, start time,
// the first estimate of the video bit rate, up to 64 stream lines, and the
// video and audio entries with their counts. Fields without a value in the
// lines keep what they held.
void ParseFFmpegProbeOutput(const QStringList &lines, TVideoFileInfo &info);

// With exactly one video stream of unknown size: the file size less the
// audio streams' sizes, when the audio streams report any and the
// difference is positive.
void EstimateVideoStreamSize(TVideoFileInfo &info);
