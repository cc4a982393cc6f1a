#pragma once

#include <cstdint>
#include <optional>

struct EncodingLists;
struct EncodingSettings;
struct FileAnalysisCells;
struct PieceContext;
struct TAppStrings;
struct TVideoFileInfo;

// What the list's analysis of a file knows, as the piece builders read it:
// the duration and the first video and audio stream. Estimating from it
// needs no new analysis.
TVideoFileInfo InfoFromAnalysisCells(const FileAnalysisCells &cells);

// The size ctx's file is expected to have once converted: each stream's
// bitrate as the command writes it (the automatic ones as it computes them)
// times the duration, a copied stream its own size, plus what the container
// adds. Nothing when that cannot be told: an unknown duration, a video
// encoded without a bitrate (lossless HuffYUV) or at a fixed quantizer (the
// two-pass Xvid and DivX commands), a piece that fails.
std::optional<int64_t> ExpectedOutputBytes(const PieceContext &ctx);

// ExpectedOutputBytes of a listed file from its analysis cells, -1 when it
// cannot be told; a typed value that is no number counts as unknown,
// without a message (the run reports it).
int64_t ExpectedRowBytes(const EncodingSettings &s, const EncodingLists &lists,
    const TAppStrings &strings, const FileAnalysisCells &cells);
