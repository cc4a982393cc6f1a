#include "cli/PlanSubcommand.h"

#include "app/TextHelpers.h"
#include "cli/CliListing.h"
#include "encoding/ExpectedSize.h"
#include "encoding/OutputName.h"
#include "encoding/OutputSpace.h"
#include "filelist/FileListRow.h"
#include "filelist/InputFilter.h"

#include <QFileInfo>

const char PlanSubcommandUsage[] = "[OPTIONS] FILE...";
const char PlanSubcommandSummary[]
    = "print each file's output and expected size, the total and the free space";

namespace {

QString sizeColumns(int64_t bytes)
{
    return QString::number(bytes) + u'\t' + FormatSize(bytes);
}

} // namespace

int RunPlanSubcommand(CliContext &context)
{
    if (context.args.contains(QStringLiteral("--help"))) {
        PrintOut(QStringLiteral("Usage: quillon-cli plan %1\n\nOptions:\n")
                     .arg(QLatin1String(PlanSubcommandUsage))
            + EncodingOptionsUsage());
        return ExitOk;
    }
    int status = ExitOk;
    const std::unique_ptr<Listing> listing = OpenListing(context, {}, &status);
    if (!listing)
        return status;
    QStringList notes;
    int nonUtf8Count = 0;
    const QStringList files = FilterInputFiles(listing->options.inputs, &notes, &nonUtf8Count);
    for (const QString &note : std::as_const(notes))
        PrintErr(QStringLiteral("quillon-cli plan: %1\n").arg(note));

    OutputNamePlanner names(
        listing->settings(), listing->strings, &listing->sink, OutputNamePlanner::Plan, files);
    names.setTreeRoots(QStringList(files.size(), TreeRootOf(listing->options, files)));
    int64_t total = 0;
    QStringList folders; // in the order met
    std::vector<std::pair<QString, int64_t>> outputs;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const OutputPath output = names.next(i);
        if (output.action == OutputPath::Failed)
            return ExitFailed;
        if (output.action == OutputPath::Skip) {
            PrintErr(QStringLiteral("quillon-cli plan: skipped \"%1\": \"%2\" exists\n")
                         .arg(files.at(i), output.path));
            continue;
        }
        if (!listing->probe(files.at(i)))
            return ExitFailed;
        // From what the list's analysis keeps, as the window estimates it.
        const TVideoFileInfo known
            = InfoFromAnalysisCells(analysisCellsOf(listing->info, listing->strings));
        PieceContext ctx(listing->settings(), listing->lists, listing->strings, known);
        ctx.messages = &listing->sink;
        ctx.encoders = listing->encoders ? &*listing->encoders : nullptr;
        const std::optional<int64_t> bytes = ExpectedOutputBytes(ctx);
        if (listing->sink.count > 0)
            return ExitUsage;
        PrintOut(QStringLiteral("file\t") + (bytes ? sizeColumns(*bytes) : QStringLiteral("?\t?"))
            + u'\t' + output.path + u'\n');
        total += bytes.value_or(0);
        const QString folder = QFileInfo(output.path).absolutePath();
        outputs.emplace_back(folder, bytes.value_or(0));
        if (!folders.contains(folder))
            folders << folder;
    }
    PrintOut(QStringLiteral("total\t") + sizeColumns(total) + u'\n');
    for (const QString &folder : std::as_const(folders)) {
        const int64_t available = StorageVolumeOf(ExistingFolderOf(folder)).available;
        PrintOut(QStringLiteral("free\t")
            + (available >= 0 ? sizeColumns(available) : QStringLiteral("?\t?")) + u'\t' + folder
            + u'\n');
    }

    bool fits = true;
    for (const VolumeNeed &need : OutputSpaceNeeds(outputs, StorageVolumeOf)) {
        if (need.fits())
            continue;
        PrintErr(
            QStringLiteral("quillon-cli plan: the outputs on %1 need %2, %3 are free\n")
                .arg(need.volume.root, FormatSize(need.needed), FormatSize(need.volume.available)));
        fits = false;
    }
    return fits && nonUtf8Count == 0 ? ExitOk : ExitFailed;
}
