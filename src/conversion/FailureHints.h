#pragma once

#include <QString>
#include <QStringList>

struct TErrorsModuleStrings;

// The causes of a failed FFmpeg run that a user can act on, told from what
// FFmpeg printed.
enum class FailureCause {
    Unknown,
    NoSpaceLeft,
    PermissionDenied,
    EncoderMissing,
    InvalidFrameSize, // the codec cannot take the picture size
    UnsupportedAudioFormat, // sampling rate or channel layout
    NotMediaFile,
};

// The cause FFmpeg's output (after FilterEncoderOutput, which drops
// "Invalid data found when processing input") names; the last line that
// names one wins. inputHasStreams: the analysis of the input found a video
// or audio stream; a failure with neither is put down to a file that is not
// media when the output names nothing else.
FailureCause FailureCauseOf(const QStringList &output, bool inputHasStreams);

// The plain-words hint of the catalogue for a cause; empty for Unknown.
QString FailureHint(FailureCause cause, const TErrorsModuleStrings &strings);
