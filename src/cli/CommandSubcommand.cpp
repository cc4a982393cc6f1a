#include "cli/CommandSubcommand.h"

#include "analysis/FFmpegProbe.h"
#include "analysis/VideoFileInfo.h"
#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "app/TextHelpers.h"
#include "cli/EncodingOptions.h"
#include "conversion/PlannedCommands.h"
#include "encoding/CommandAssembly.h"
#include "encoding/EncoderSupport.h"
#include "encoding/MessageSink.h"
#include "encoding/OutputName.h"
#include "encoding/PieceContext.h"
#include "encoding/SettingsLists.h"
#include "filelist/InputFilter.h"
#include "i18n/AppStrings.h"
#include "i18n/FFmpegMissing.h"
#include "process/ConsoleRunner.h"

const char CommandSubcommandUsage[] = "[OPTIONS] FILE... | [OPTIONS] --preview FILE";
const char CommandSubcommandSummary[]
    = "print the FFmpeg parameters of each pass for each file (see --help)";

namespace {

// Messages of the core become lines on standard error.
class StdErrSink : public IMessageSink
{
public:
    void warning(const QString &text) override
    {
        PrintErr(WithLineFeeds(text) + u'\n');
        ++count;
    }
    int count = 0;
};

// The analysis a run makes of each file; a program that cannot be started
// is reported like the window reports it, one that hangs after its time-out.
bool Probe(
    const QString &path, const QString &ffmpeg, const QString &mediaInfo, TVideoFileInfo &info)
{
    ClearVideoFileInfo(info);
    try {
        if (ProbeWithFFmpeg(path, ffmpeg, mediaInfo, info))
            return true;
        PrintErr(QStringLiteral("quillon-cli command: FFmpeg did not describe \"%1\" within %2 s "
                                "and was stopped\n")
                     .arg(path, QString::number(ToolAnswerTimeout.count() / 1000)));
        return false;
    } catch (const ConsoleRunError &error) {
        PrintErr(QStringLiteral("quillon-cli: %1\n").arg(error.message()));
        return false;
    }
}

// What the files of one call share: the settings, their lists, the
// FFmpeg build, and the analysis of the file at hand.
struct Listing
{
    const TAppParams &params;
    const TAppStrings &strings;
    const EncodingSettings &settings;
    EncodingLists lists;
    std::optional<EncoderSet> encoders;
    StdErrSink sink;
    TVideoFileInfo info;

    PieceContext context()
    {
        PieceContext ctx(settings, lists, strings, info);
        ctx.messages = &sink;
        ctx.encoders = encoders ? &*encoders : nullptr;
        return ctx;
    }
    bool probe(const QString &path)
    {
        return Probe(path, params.ffmpeg, params.MediaInfoDll, info);
    }
};

int PrintPreview(Listing &listing, const QString &file)
{
    const QString path = ExpandFullPath(file);
    if (HasNonUtf8Bytes(path)) {
        PrintErr(QStringLiteral("quillon-cli command: ") + NonUtf8NameMessage(path) + u'\n');
        return ExitFailed;
    }
    if (!listing.probe(path))
        return ExitFailed;
    PrintOut(WithLineFeeds(PreviewText(listing.context(), path)) + u'\n');
    return listing.sink.count > 0 ? ExitUsage : ExitOk;
}

int PrintPasses(Listing &listing, const EncodingOptions &options)
{
    const QStringList &inputs = options.inputs;
    QStringList notes;
    int nonUtf8Count = 0;
    const QStringList files = FilterInputFiles(inputs, &notes, &nonUtf8Count);
    for (const QString &note : std::as_const(notes))
        PrintErr(QStringLiteral("quillon-cli command: %1\n").arg(note));

    // Named as a run of these files would name them.
    OutputNamePlanner names(
        listing.settings, listing.strings, &listing.sink, OutputNamePlanner::Plan, files);
    names.setTreeRoots(QStringList(files.size(), TreeRootOf(options, files)));
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString &input = files.at(i);
        const OutputPath output = names.next(i);
        if (output.action == OutputPath::Failed)
            return ExitFailed;
        if (output.action == OutputPath::Skip) {
            PrintErr(QStringLiteral("quillon-cli command: skipped \"%1\": \"%2\" exists\n")
                         .arg(input, output.path));
            continue;
        }
        if (!listing.probe(input))
            return ExitFailed;
        const PlannedCommands planned
            = PlanFileCommands(listing.context(), listing.params.ffmpeg, input, output.path);
        if (!planned.commands.ok)
            return ExitUsage;
        for (const CommandLine &pass : planned.commands.passes)
            PrintOut(pass.paramText() + u'\n');
    }
    // Unlike a missing file, such a name is a file the caller meant and did
    // not get a command for.
    return nonUtf8Count > 0 ? ExitFailed : ExitOk;
}

} // namespace

int RunCommandSubcommand(CliContext &context)
{
    const QString previewOption = QStringLiteral("--preview");
    if (context.args.contains(QStringLiteral("--help"))) {
        PrintOut(QStringLiteral("Usage: quillon-cli command %1\n\nOptions:\n")
                     .arg(QLatin1String(CommandSubcommandUsage))
            + EncodingOptionsUsage()
            + QStringLiteral(
                "  --preview FILE            print the command-line preview of FILE\n"));
        return ExitOk;
    }
    TAppStrings strings;
    EncodingOptions options;
    QString error;
    const EncodingOptionsBase base{strings, DefaultVideoCodecOfSettingsFile(context.params)};
    if (!ParseEncodingOptions(context.args, {previewOption}, base, options, &error)) {
        PrintErr(QStringLiteral("quillon-cli command: %1\n").arg(error));
        return ExitUsage;
    }
    const bool preview = options.extra.contains(previewOption);
    if (preview && !options.inputs.isEmpty()) {
        PrintErr(QStringLiteral("quillon-cli command: --preview takes one file and no others\n"));
        return ExitUsage;
    }

    const QString ffmpeg = context.params.ffmpeg;
    if (ffmpeg.isEmpty()) {
        PrintErr(WithLineFeeds(FFmpegMissingText(strings)) + u'\n');
        return ExitFailed;
    }

    Listing listing{context.params, strings, options.settings,
        BuildEncodingLists(strings, context.params.ResolutionTxt, context.params.FourccTagsFile),
        QueryEncoders(ffmpeg), {}, {}};
    if (listing.encoders) {
        const QString missing
            = MissingEncodersMessage(MissingEncoders(options.settings, *listing.encoders), ffmpeg);
        if (!missing.isEmpty())
            PrintErr(missing + u'\n');
    }
    return preview ? PrintPreview(listing, options.extra.value(previewOption))
                   : PrintPasses(listing, options);
}
