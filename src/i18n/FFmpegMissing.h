#pragma once

#include <QString>

struct TAppStrings;

// The text of the FFmpeg-missing warning, ready to show: the program name
// filled in, line breaks made real.
QString FFmpegMissingText(const TAppStrings &strings);
