#include "conversion/FailureHints.h"

#include "i18n/AppStrings.h"

#include <array>
#include <utility>

namespace {

// Texts of FFmpeg 4 to 6 and of the system's error strings it prints, all
// compared without letter case.
constexpr std::array<std::pair<const char *, FailureCause>, 15> Markers = {{
    {"No space left on device", FailureCause::NoSpaceLeft},
    {"Disk quota exceeded", FailureCause::NoSpaceLeft},
    {"Permission denied", FailureCause::PermissionDenied},
    {"Read-only file system", FailureCause::PermissionDenied},
    {"Unknown encoder '", FailureCause::EncoderMissing},
    {") not found for output stream", FailureCause::EncoderMissing}, // Encoder (codec id 86016)
    {"is not valid for the H.263 codec", FailureCause::InvalidFrameSize},
    {"width not divisible by", FailureCause::InvalidFrameSize},
    {"height not divisible by", FailureCause::InvalidFrameSize},
    {"dimensions not set", FailureCause::InvalidFrameSize},
    {"dimensions too large", FailureCause::InvalidFrameSize},
    {"Invalid image size", FailureCause::InvalidFrameSize},
    {"Specified sample rate", FailureCause::UnsupportedAudioFormat},
    {"Specified channel layout", FailureCause::UnsupportedAudioFormat},
    {"Unsupported number of channels", FailureCause::UnsupportedAudioFormat},
}};

FailureCause causeOfLine(const QString &line)
{
    for (const auto &[text, cause] : Markers) {
        if (line.contains(QLatin1String(text), Qt::CaseInsensitive))
            return cause;
    }
    return FailureCause::Unknown;
}

} // namespace

FailureCause FailureCauseOf(const QStringList &output, bool inputHasStreams)
{
    for (qsizetype i = output.size() - 1; i >= 0; --i) {
        const FailureCause cause = causeOfLine(output.at(i));
        if (cause != FailureCause::Unknown)
            return cause;
    }
    return inputHasStreams ? FailureCause::Unknown : FailureCause::NotMediaFile;
}

QString FailureHint(FailureCause cause, const TErrorsModuleStrings &strings)
{
    switch (cause) {
    case FailureCause::NoSpaceLeft:
        return strings.Hint_NoSpaceLeft;
    case FailureCause::PermissionDenied:
        return strings.Hint_PermissionDenied;
    case FailureCause::EncoderMissing:
        return strings.Hint_EncoderMissing;
    case FailureCause::InvalidFrameSize:
        return strings.Hint_InvalidFrameSize;
    case FailureCause::UnsupportedAudioFormat:
        return strings.Hint_UnsupportedAudioFormat;
    case FailureCause::NotMediaFile:
        return strings.Hint_NotMediaFile;
    case FailureCause::Unknown:
        break;
    }
    return {};
}
