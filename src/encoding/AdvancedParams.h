#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

struct PieceContext;
struct TVideoFileInfo;

// A resolution preset as a size: "640 x 480 - VGA", "50%" of the source
// (from Info's first video stream), each side brought to a multiple of 8;
// 0 by 0 when the text holds no usable number.
QSize ParseResolutionText(const QString &Text, const TVideoFileInfo &Info);

// The advanced piece: "-vf" with the filter chain in its fixed order, the
// forced video tag, and the audio-track mapping. A disabled control
// contributes nothing. It cannot fail.
QString GetAdvancedParamsStr(const PieceContext &ctx);

// The user's own parameters: a space and each line of meParams, as typed.
QString GetAdditionalParamsStr(const PieceContext &ctx);

// The lines of a multi-line text as an edit control holds them: CR LF, LF
// and CR all end a line, and a final line break opens no extra line.
QStringList MemoLines(const QString &text);

// The file that FFmpeg's help text is kept in, beside the program; empty
// when there is none.
QString FFmpegHelpFile(const QString &ffmpegPath);
