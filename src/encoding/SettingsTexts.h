#pragma once

#include <QString>

struct TAppStrings;

// An editable field holding the catalogue word for "derived from the
// source": its trimmed, upper-cased text equals the upper-cased Main.Auto,
// so "auto", " Auto " and the translated word all count.
bool IsAutoText(const QString &text, const TAppStrings &strings);

// A typed bitrate (trimmed, kbit/s) or sampling frequency (Hz) the encoders
// can use: an integer above 0. A negative or zero one would reach FFmpeg as
// "-b:a -128k", so the builders treat it like text that is not a number.
bool IsValidTypedBitrate(const QString &text);

// A volume position (percent) as a factor with two decimals and a full
// stop whatever the locale: 100 gives "1.00", 5 gives "0.05".
QString FormatVolumeFactor(int position);
// lblAudioVolume: the factor followed by "x".
QString AudioVolumeLabel(int position);

// lblBrightnessValue and lblSaturationValue: position / 10, an integral
// value as a plain integer, otherwise with up to two decimals and no
// trailing zeros ("0", "1", "0.5", "-1.2").
QString TrackBarValueText(int position);

// lblMpgInfo for an entry of cbMpgVideo; empty for no selection.
QString MpgInfoText(int cbMpgVideo, const TAppStrings &strings);
