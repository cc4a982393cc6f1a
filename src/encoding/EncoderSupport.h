#pragma once

#include "process/ConsoleRunner.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

struct EncodingSettings;

// The encoders an FFmpeg build offers, by the names of its "-encoders" list.
class EncoderSet
{
public:
    EncoderSet() = default;
    explicit EncoderSet(const QStringList &names);

    bool has(const QString &encoder) const { return m_names.contains(encoder); }
    bool isEmpty() const { return m_names.isEmpty(); }
    QStringList names() const; // sorted

private:
    QSet<QString> m_names;
};

// Reads the output of "ffmpeg -hide_banner -encoders": the lines after the
// "------" rule, each a six-character capability field and the encoder
// name. Nothing (an empty set) when the text holds no such list.
EncoderSet ParseEncoderList(const QString &output);

// Asks the FFmpeg at ffmpegPath for its encoders once per build: later
// calls for the same program (path, size and modification time) answer
// from a cache in memory and, across runs, from a file in the user's cache
// folder (an unusable or corrupt file only means FFmpeg is asked again).
// Nothing when the program cannot be run, prints no encoder list, has not
// answered after timeout or is stopped through runner (then it is killed
// and asked again next time): the builders then assume every encoder is
// there. runner: the one to ask with, so that a caller can stop it; null
// uses one of its own. Safe to call from any thread.
std::optional<EncoderSet> QueryEncoders(const QString &ffmpegPath, ConsoleRunner *runner = nullptr,
    std::chrono::milliseconds timeout = ToolAnswerTimeout);
// Forgets the answers cached in memory (for tests that swap programs).
void ClearEncoderCache();

// The encoder to write for a chosen one: "aac" for "libfdk_aac" when the
// build lacks it (distribution builds do) but has "aac"; otherwise the
// chosen encoder. A null set changes nothing.
QString EncoderWithStandIn(const QString &encoder, const EncoderSet *encoders);

// The encoders the settings may ask for that the build lacks even after the
// stand-ins, in the order the settings name them. The automatic audio
// choice counts both of its encoders (it picks per file); a stream that is
// dropped or copied needs none.
QStringList MissingEncoders(const EncodingSettings &s, const EncoderSet &encoders);

// The once-per-run warning for those encoders, in plain words; empty when
// nothing is missing.
QString MissingEncodersMessage(const QStringList &missing, const QString &ffmpegPath);
