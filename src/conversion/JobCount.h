#pragma once

#include <QString>
#include <optional>

struct EncodingSettings;

// How many files a run converts at once: the setting "Simultaneous
// conversions" (0 for Auto, else 1 to MaxJobs) and the CLI's --jobs.
inline constexpr int AutoJobs = 0;
inline constexpr int MaxJobs = 16;

// The processors one conversion keeps busy with these settings. FFmpeg's
// H.264 encoder runs the threads the settings give it; every other encoder
// of the AVI and MPEG choices, and the audio encoders, run on one.
int ProcessorsPerConversion(const EncodingSettings &settings, int processorCount);

// Auto: as many files as the processors can each give a conversion's worth
// to, 1 to MaxJobs. A run that only copies streams waits on the disk, not on
// the processors, so it converts one file at a time.
int AutoJobCount(const EncodingSettings &settings, int processorCount);

// The setting as a count: Auto decided for these settings, anything else
// kept within 1 to MaxJobs.
int ResolveJobCount(int setting, const EncodingSettings &settings, int processorCount);

// "auto" (any case) or a whole number 1 to MaxJobs, as the setting's value;
// nothing for anything else.
std::optional<int> ParseJobCount(const QString &text);
