#include "cli/CliListing.h"

#include "analysis/FFmpegProbe.h"
#include "app/TextHelpers.h"
#include "i18n/FFmpegMissing.h"
#include "process/ConsoleRunner.h"

void StdErrSink::warning(const QString &text)
{
    PrintErr(WithLineFeeds(text) + u'\n');
    ++count;
}

PieceContext Listing::context()
{
    PieceContext ctx(options.settings, lists, strings, info);
    ctx.messages = &sink;
    ctx.encoders = encoders ? &*encoders : nullptr;
    return ctx;
}

bool Listing::probe(const QString &path)
{
    ClearVideoFileInfo(info);
    try {
        if (ProbeWithFFmpeg(path, params.ffmpeg, params.MediaInfoDll, info))
            return true;
        PrintErr(QStringLiteral("quillon-cli %1: FFmpeg did not describe \"%2\" within %3 s "
                                "and was stopped\n")
                     .arg(command, path, QString::number(ToolAnswerTimeout.count() / 1000)));
        return false;
    } catch (const ConsoleRunError &error) {
        PrintErr(QStringLiteral("quillon-cli: %1\n").arg(error.message()));
        return false;
    }
}

std::unique_ptr<Listing> OpenListing(
    CliContext &context, const QStringList &extraValueOptions, int *status)
{
    auto listing = std::make_unique<Listing>(context.command, context.params);
    QString error;
    const EncodingOptionsBase base{
        listing->strings, DefaultVideoCodecOfSettingsFile(context.params)};
    if (!ParseEncodingOptions(context.args, extraValueOptions, base, listing->options, &error)) {
        PrintErr(QStringLiteral("quillon-cli %1: %2\n").arg(context.command, error));
        *status = ExitUsage;
        return nullptr;
    }
    const QString ffmpeg = context.params.ffmpeg;
    if (ffmpeg.isEmpty()) {
        PrintErr(WithLineFeeds(FFmpegMissingText(listing->strings)) + u'\n');
        *status = ExitFailed;
        return nullptr;
    }
    listing->lists = BuildEncodingLists(
        listing->strings, context.params.ResolutionTxt, context.params.FourccTagsFile);
    listing->encoders = QueryEncoders(ffmpeg);
    if (listing->encoders) {
        const QString missing = MissingEncodersMessage(
            MissingEncoders(listing->options.settings, *listing->encoders), ffmpeg);
        if (!missing.isEmpty())
            PrintErr(missing + u'\n');
    }
    return listing;
}
