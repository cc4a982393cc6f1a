#pragma once

#include "app/FileIdentity.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

struct TAppStrings;
struct TVideoFileInfo;

// The columns of the file list in their initial order; every row has a cell
// for each of them.
enum FileListColumn : int {
    colNo,
    colActive,
    colIcon,
    colFileName,
    colDirectory,
    colSize,
    colDuration,
    colVideo,
    colVideoCodec,
    colVideoCodecID,
    colVideoProfile,
    colVideoBitrate,
    colVideoWidth,
    colVideoHeight,
    colVideoResolution,
    colVideoDisplayAspect,
    colVideoFPS,
    colVideoBpp,
    colVideoScanType,
    colVideoStreamSize,
    colAudio,
    colAudioCodec,
    colAudioCodecID,
    colAudioProfile,
    colAudioBitrate,
    colAudioChannels,
    colAudioSampling,
    colAudioStreamSize,
    colStatus,
    // Not a fact of the file but of the settings: what its output will
    // weigh (encoding/ExpectedSize.h).
    colExpectedSize,
};
inline constexpr int FileListColumnCount = colExpectedSize + 1;

// The cells an analysis of the file fills: empty and 0 until its result
// arrives, and for good when analysis is off. They describe the first video
// and the first audio stream. Bit rates in kbit/s, durations in
// milliseconds, sizes in bytes, sampling rate in Hz.
struct FileAnalysisCells
{
    double duration = 0;
    QString video; // "h264, 2 000 kbit/s, 1 920 x 1 080"
    QString videoCodec;
    QString videoCodecID;
    QString videoProfile;
    int32_t videoBitrate = 0;
    int32_t videoWidth = 0;
    int32_t videoHeight = 0;
    QString videoResolution; // "1 920 x 1 080"
    QString videoDisplayAspect;
    double videoFPS = 0;
    double videoBpp = 0;
    QString videoScanType;
    int64_t videoStreamSize = 0;
    QString audio; // "AC-3, 448 kbit/s CBR, Channels: 6"
    QString audioCodec;
    QString audioCodecID;
    QString audioProfile;
    int32_t audioBitrate = 0;
    int32_t audioChannels = 0;
    int32_t audioSampling = 0;
    int64_t audioStreamSize = 0;
};

// One row of the file list: one input file.
struct FileListRow
{
    // Given when the row is made and never changed or reused: results that
    // arrive later find their row by it after sorting, moving and removals.
    uint64_t id = 0;
    int no = 0; // colNo: the 1-based position at the last renumbering
    bool active = true; // colActive: the file takes part in the conversion
    QString fileName;
    QString directory; // the root folder is "/"
    // The folder the file came through (an added or dropped folder, a list
    // file's folder), absolute; empty for a file added on its own. Outputs
    // that keep the tree are placed by it.
    QString treeRoot;
    int64_t size = 0;
    QString status;
    // The file as it was when added: how a second name of it is recognised.
    std::optional<FileIdentity> identity;
    FileAnalysisCells analysis;
    // colExpectedSize in bytes, for the settings of now; -1 when unknown.
    int64_t expectedSize = -1;
};

// The folder part of a full path, up to the last "/" ("/" itself for a file
// in the root), and the name after it.
QString directoryOfPath(const QString &path);
QString fileNameOfPath(const QString &path);
// colDirectory and colFileName joined by exactly one "/".
QString fullFileName(const FileListRow &row);

// A checked row for a file being added, before any analysis: its name,
// folder and size, with readyText (Main.Ready) as its status.
FileListRow newFileListRow(
    uint64_t id, const QString &fullPath, int64_t size, const QString &readyText);

// Selected rows by index.
using RowSelection = std::set<int>;

// The analysis cells of a file from one analysis of it. Video cells only
// when the file has a video stream, audio cells only when it has an audio
// stream. Texts (scan type, "Channels:") from the catalogue.
FileAnalysisCells analysisCellsOf(const TVideoFileInfo &info, const TAppStrings &strings);

// 0 <= index < number of rows.
bool IsValidRowIndex(const std::vector<FileListRow> &rows, int index);
// The cells of a row; empty for an invalid index.
QString GetNgShortFileName(const std::vector<FileListRow> &rows, int index);
QString GetNgDirectory(const std::vector<FileListRow> &rows, int index);
QString GetNgFullFileName(const std::vector<FileListRow> &rows, int index);

// The index of the row with this id; -1 when it has been removed.
int rowIndexOfId(const std::vector<FileListRow> &rows, uint64_t id);
