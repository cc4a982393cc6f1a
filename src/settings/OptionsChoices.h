#pragma once

#include "app/AppParams.h"
#include "settings/SettingsFile.h"

// The entries of the options window's lists and the values they stand for.

// File analysis: entry 0 faFull, 1 faQuick, 2 faNone.
TFileAnalysis FileAnalysisOfEntry(int entry);
int FileAnalysisEntry(TFileAnalysis mode);

// Default video encoder: entry 0 "H.264" is AVI codec entry 2, entry 1
// "Xvid" codec entry 0. Any other codec shows as "H.264", any other entry
// gives H.264.
inline constexpr int AviCodecXvid = 0;
inline constexpr int AviCodecH264 = 2;
int DefaultCodecOfEntry(int entry);
int DefaultCodecEntry(int aviCodec);

// Theme: entry 0 System, 1 Light, 2 Dark; any other entry gives System.
AppTheme ThemeOfEntry(int entry);
int ThemeEntry(AppTheme theme);
