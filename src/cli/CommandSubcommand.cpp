#include "cli/CommandSubcommand.h"

#include "analysis/FFmpegProbe.h"
#include "analysis/VideoFileInfo.h"
#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "app/TextHelpers.h"
#include "cli/CliListing.h"
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

int PrintPasses(Listing &listing)
{
    const EncodingOptions &options = listing.options;
    const QStringList &inputs = options.inputs;
    QStringList notes;
    int nonUtf8Count = 0;
    const QStringList files = FilterInputFiles(inputs, &notes, &nonUtf8Count);
    for (const QString &note : std::as_const(notes))
        PrintErr(QStringLiteral("quillon-cli command: %1\n").arg(note));

    // Named as a run of these files would name them.
    OutputNamePlanner names(
        listing.settings(), listing.strings, &listing.sink, OutputNamePlanner::Plan, files);
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
    int status = ExitOk;
    const std::unique_ptr<Listing> listing = OpenListing(context, {previewOption}, &status);
    if (!listing)
        return status;
    const EncodingOptions &options = listing->options;
    const bool preview = options.extra.contains(previewOption);
    if (preview && !options.inputs.isEmpty()) {
        PrintErr(QStringLiteral("quillon-cli command: --preview takes one file and no others\n"));
        return ExitUsage;
    }
    return preview ? PrintPreview(*listing, options.extra.value(previewOption))
                   : PrintPasses(*listing);
}
