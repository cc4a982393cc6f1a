#pragma once

#include "encoding/EnableRules.h"
#include "encoding/EncodingSettings.h"

struct TAppStrings;

inline constexpr int DefaultMinAutoAudioBitrate = 96;
struct TVideoFileInfo;
class IMessageSink;
class EncoderSet;

// Everything the piece builders read for one file: the settings with their
// enabled state, the item texts of the resolution list, the catalogue (for
// Main.Auto and the messages), the analysed file, and the platform facts.
// The referenced objects must outlive the context.
struct PieceContext
{
    PieceContext(const EncodingSettings &settings, const EncodingLists &lists,
        const TAppStrings &strings, const TVideoFileInfo &info);

    const EncodingSettings &settings;
    const EncodingLists &lists;
    const TAppStrings &strings;
    const TVideoFileInfo &info;
    // Evaluated once from settings; a disabled control contributes nothing.
    EnableState enabled;
    // Receives the invalid-value warnings; null drops them (the piece still
    // fails).
    IMessageSink *messages = nullptr;
    // Logical processors as the platform reports them (may be 0 or less).
    int processorCount = 0;
    // The encoders of the FFmpeg build; null when unknown (no stand-ins).
    const EncoderSet *encoders = nullptr;
    // Lower bound of automatic audio bitrates in kbit/s.
    int minAutoAudioBitrate = DefaultMinAutoAudioBitrate;

    // The AVI codec entry, no selection (or an index a profile invented)
    // read as Xvid, as the codec piece has always written it.
    int aviCodec() const;
    // The audio codec entry, no selection read as MP3 likewise.
    int audioCodec() const;
    // The text of cbResolution's selected entry; empty for entries 0 and 1
    // and for an index the list does not have.
    QString resolutionText() const;

    void warn(const QString &text) const;
    // The message of a setting whose typed value cannot be used.
    void warnInvalid(const char *control, const QString &text) const;
};
