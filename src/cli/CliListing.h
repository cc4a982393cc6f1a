#pragma once

#include "analysis/VideoFileInfo.h"
#include "cli/CliContext.h"
#include "cli/EncodingOptions.h"
#include "encoding/EncoderSupport.h"
#include "encoding/MessageSink.h"
#include "encoding/PieceContext.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

#include <memory>
#include <optional>
#include <utility>

// Messages of the core become lines on standard error.
class StdErrSink : public IMessageSink
{
public:
    void warning(const QString &text) override;
    int count = 0;
};

// What the files of one call of command or plan share: the settings, their
// lists, the FFmpeg build, and the analysis of the file at hand.
struct Listing
{
    Listing(QString commandName, const TAppParams &appParams)
        : command(std::move(commandName))
        , params(appParams)
    { }

    QString command; // "command", "plan": the prefix of its messages
    const TAppParams &params;
    TAppStrings strings;
    EncodingOptions options;
    EncodingLists lists;
    std::optional<EncoderSet> encoders;
    StdErrSink sink;
    TVideoFileInfo info;

    const EncodingSettings &settings() const { return options.settings; }
    PieceContext context();
    // The analysis a run makes of the file; a program that cannot be
    // started is reported as the window reports it, one that hangs after
    // its time-out.
    bool probe(const QString &path);
};

// Parses the shared options (and extraValueOptions) of context's
// arguments, finds FFmpeg and its encoders and tells which the settings
// miss. Null, with the message printed and *status set, when it cannot go
// on.
std::unique_ptr<Listing> OpenListing(
    CliContext &context, const QStringList &extraValueOptions, int *status);
