#include "encoding/CommandAssembly.h"

#include "encoding/AdvancedParams.h"
#include "encoding/AudioParams.h"
#include "encoding/EncodingSettings.h"
#include "encoding/PieceContext.h"
#include "encoding/SettingsLists.h"
#include "encoding/VideoParams.h"

namespace {

QString PassOption(int passNo)
{
    return QStringLiteral("-pass %1 ").arg(passNo);
}

} // namespace

bool IsH264Mode(const EncodingSettings &s)
{
    return !s.IsMpg() && s.cbAviVideoCodec == AviCodec::H264 && !s.chAviVideoDontCopy;
}

bool IsTwoPassRun(const EncodingSettings &s)
{
    if (s.IsMpg())
        return s.chMpgVideo2Pass;
    return s.chAviVideo2Pass && s.cbAviVideoCodec != AviCodec::Wmv1 && !s.chAviVideoDontCopy;
}

std::optional<CommandPieces> BuildRunPieces(const PieceContext &ctx)
{
    CommandPieces pieces;
    pieces.VC = GetVideoCodecStr(ctx).trimmed();
    pieces.AC = GetAudioCodecStr(ctx).trimmed();
    pieces.ADV = GetAdvancedParamsStr(ctx).trimmed();
    pieces.ADD = GetAdditionalParamsStr(ctx).trimmed();
    const std::optional<QString> vp = GetVideoParamsStr(ctx);
    if (!vp)
        return std::nullopt;
    pieces.VP = vp->trimmed();
    const std::optional<QString> ap = GetAudioParamsStr(ctx);
    if (!ap)
        return std::nullopt;
    pieces.AP = ap->trimmed();
    return pieces;
}

CommandLine RunCommandLine(const QString &ffmpegPath, const CommandPieces &pieces,
    const QString &inputPath, const QString &outputPath, int passNo, bool h264Mode)
{
    QString separator;
    if (passNo == 0)
        separator = h264Mode ? QLatin1String(PresetOption) : QStringLiteral(" ");
    else
        separator
            = (h264Mode ? QLatin1String(PresetOption) : QLatin1String(" ")) + PassOption(passNo);

    CommandLine command(ffmpegPath);
    command.appendText(QStringLiteral("-y -i "));
    command.appendFileName(inputPath);
    command.appendText(u' ' + pieces.VC + u' ' + pieces.VP + u' ' + pieces.AC + u' ' + pieces.AP
        + u' ' + pieces.ADV + separator);
    // The user's own text on its own, so an unbalanced quote in it cannot
    // swallow the output name.
    command.appendText(pieces.ADD);
    command.appendText(QStringLiteral(" "));
    command.appendFileName(outputPath);
    return command;
}

QString RunParamText(const CommandPieces &pieces, const QString &inputPath,
    const QString &outputPath, int passNo, bool h264Mode)
{
    return RunCommandLine({}, pieces, inputPath, outputPath, passNo, h264Mode).paramText();
}

FileCommands BuildFileCommands(const PieceContext &ctx, const QString &ffmpegPath,
    const QString &inputPath, const QString &outputPath)
{
    FileCommands result;
    const std::optional<CommandPieces> pieces = BuildRunPieces(ctx);
    result.ok = pieces.has_value();
    if (!result.ok)
        return result;
    result.pieces = *pieces;
    const bool h264 = IsH264Mode(ctx.settings);
    result.twoPass = IsTwoPassRun(ctx.settings);
    if (result.twoPass) {
        for (int pass = 1; pass <= 2; ++pass)
            result.passes.append(
                RunCommandLine(ffmpegPath, result.pieces, inputPath, outputPath, pass, h264));
    } else {
        result.passes.append(
            RunCommandLine(ffmpegPath, result.pieces, inputPath, outputPath, 0, h264));
    }
    return result;
}

QString PreviewText(const PieceContext &ctx, const QString &inputPath)
{
    const EncodingSettings &s = ctx.settings;
    // A piece that failed is left out; its message has been sent.
    const auto piece
        = [](const std::optional<QString> &text) { return text ? text->trimmed() : QString(); };
    const QString vc = GetVideoCodecStr(ctx).trimmed();
    const QString vp = piece(GetVideoParamsStr(ctx));
    const QString ac = GetAudioCodecStr(ctx).trimmed();
    const QString ap = piece(GetAudioParamsStr(ctx));
    const QString adv = GetAdvancedParamsStr(ctx).trimmed();
    const QString add = GetAdditionalParamsStr(ctx).trimmed();

    const QString head = QLatin1String(InputPlaceholder) + u' ' + vc + u' ' + vp + u' ' + ac + u' '
        + ap + u' ' + adv;
    const QString start = QStringLiteral("-y -i ");
    const QString output = QLatin1String(OutputPlaceholder);
    const bool h264 = IsH264Mode(s);
    const bool twoPass = s.IsMpg() ? s.chMpgVideo2Pass : s.chAviVideo2Pass;

    QString text;
    if (twoPass) {
        const auto passLine = [&](int passNo) {
            return start + head + QStringLiteral(" -pass %1 ").arg(passNo)
                + (h264 ? QLatin1String(PresetOption) : QLatin1String()) + add + u' ' + output;
        };
        text = passLine(1) + QStringLiteral("\r\n\r\n") + passLine(2);
    } else if (h264) {
        text = start + head + QLatin1String(PresetOption) + add + QStringLiteral("  ") + output;
    } else {
        text = start + head + u' ' + add + u' ' + output;
    }

    text.replace(QLatin1String("   "), QLatin1String(" "));
    const QString input
        = inputPath.isEmpty() ? QLatin1String(InputPlaceholder) : u'"' + inputPath + u'"';
    text.replace(QLatin1String(InputPlaceholder), input);
    return text;
}
