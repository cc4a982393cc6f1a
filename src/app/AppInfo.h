#pragma once

#include <QString>

// Fixed facts about the program itself.
namespace AppInfo {

inline constexpr auto ProgramName = "Quillon";
inline constexpr auto ProgramVersion = "1.10";
inline constexpr auto ProgramDate = "2021.02.09";
inline constexpr auto ProgramAuthor = "The Quillon developers";
// The page the video-tag info button opens: what the tags (FourCC codes)
// are and which are in use.
inline constexpr auto VideoTagReferenceUrl = "https://en.wikipedia.org/wiki/FourCC";

// "64" on a 64-bit build: the real bit width, not the original's "32".
QString ProgramBits();
// "Quillon 1.10  [64-bit]" (two blanks before the bracket).
QString ProgramTitle();
// "1.10  64-bit", as the about window shows it.
QString ProgramVersionText();

} // namespace AppInfo
