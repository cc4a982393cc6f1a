#pragma once

#include "process/CommandLine.h"

#include <QList>
#include <QString>
#include <optional>

struct EncodingSettings;
struct PieceContext;

// The six pieces of one file's parameter text, each trimmed.
struct CommandPieces
{
    QString VC; // GetVideoCodecStr
    QString VP; // GetVideoParamsStr
    QString AC; // GetAudioCodecStr
    QString AP; // GetAudioParamsStr
    QString ADV; // GetAdvancedParamsStr
    QString ADD; // GetAdditionalParamsStr
};

// The H.264 speed preset, with a blank on both sides.
inline constexpr auto PresetOption = " -preset:v faster ";
inline constexpr auto InputPlaceholder = "<input_file>";
inline constexpr auto OutputPlaceholder = "<output_file>";

// AVI page, H.264 chosen and the video kept.
bool IsH264Mode(const EncodingSettings &s);
// Whether a run encodes in two passes: the page's 2-pass box, on the AVI
// page only with the video kept and a codec other than WMV version 1.
bool IsTwoPassRun(const EncodingSettings &s);

// Builds the pieces in the order a run asks for them (VC, AC, ADV, ADD, VP,
// AP). Nothing when VP or AP fails: the run ends there, so only that
// piece's message has been sent and later pieces are not built.
std::optional<CommandPieces> BuildRunPieces(const PieceContext &ctx);

// The command of one pass (passNo 0 for a one-pass run, else 1 or 2):
// "-y -i", the quoted input, the pieces, the quoted output, with the
// preset and pass options where they belong. Its paramText() is the text
// shown in logs and scripts; its arguments() hold the file names whole and
// the user's parameters split at blanks with double quotes grouping.
CommandLine RunCommandLine(const QString &ffmpegPath, const CommandPieces &pieces,
    const QString &inputPath, const QString &outputPath, int passNo, bool h264Mode);
// Its parameter text alone.
QString RunParamText(const CommandPieces &pieces, const QString &inputPath,
    const QString &outputPath, int passNo, bool h264Mode);

// Everything a run needs for one file.
struct FileCommands
{
    bool ok = false; // false: a piece failed, the run ends
    CommandPieces pieces;
    bool twoPass = false;
    QList<CommandLine> passes; // one, or pass 1 and pass 2
    // The pass option of passes[index]: 0 for a one-pass file.
    int passNo(qsizetype index) const { return twoPass ? int(index) + 1 : 0; }
};
FileCommands BuildFileCommands(const PieceContext &ctx, const QString &ffmpegPath,
    const QString &inputPath, const QString &outputPath);

// The command-line preview for the analysed file (ctx.info) at inputPath,
// or for no file when inputPath is empty ("<input_file>" stays). Unlike a
// run it keeps "<output_file>", shows two passes whenever the page's 2-pass
// box is checked, writes the pass option before the H.264 preset, leaves
// out the pieces that failed (all their messages are sent, the video one first),
// collapses runs of three blanks, and separates passes by an empty line
// (CR LF line ends).
QString PreviewText(const PieceContext &ctx, const QString &inputPath);
