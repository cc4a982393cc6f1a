#pragma once

#include "analysis/VideoFileInfo.h"
#include "i18n/AppStrings.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

class ConsoleRunner;

// What the file information window shows of an analysed file, as texts the
// window only has to put into its labels, and the text report it copies or
// saves.

// The value labels of the video panel, in panel order.
struct VideoStreamFacts
{
    QString Codec; // with " (ID: ...)" when there is an identifier
    QString Profile;
    QString Bitrate;
    QString Resolution;
    QString DisplayAspectRatio;
    QString FPS;
    QString ScanType;
    QString PixelFormat;
    QString BitsPerPixel;
    QString Frames;
    QString StreamSize;
    QString EncodedLibrary;
    QString StreamIndex;
};

// The value labels of the audio panel, in panel order.
struct AudioStreamFacts
{
    QString Codec;
    QString Profile;
    QString Bitrate;
    QString Channels;
    QString SamplingRate;
    QString BitsPerSample;
    QString Frames;
    QString VideoDelay;
    QString Language;
    QString StreamSize;
    QString EncodedLibrary;
    QString StreamIndex;
};

// One row of the data-stream grid.
struct FileInfoDataStreamRow
{
    QString Stream;
    QString Details;

    bool operator==(const FileInfoDataStreamRow &) const = default;
};

// A stream selector: items "1" to ItemCount, Selected (1-based, 0 for
// none), enabled only when the file has more than one such stream.
struct FileInfoStreamSelector
{
    int ItemCount = 0;
    int Selected = 0;
    bool Enabled = false;
};

// Everything UpdateList puts into the window.
struct FileInfoContent
{
    QString FileName; // link text; the link opens FileNameTarget
    QString FileNameTarget;
    QString Directory; // link text and target
    FileInfoStreamSelector VideoSelector;
    FileInfoStreamSelector AudioSelector;

    QString FileSize;
    QString Duration;
    QString OverallBitrate;
    QString Format;
    QString EncodedApplication;
    QString NumberOfDataStreams;
    QString NumberOfVideoStreams;
    QString NumberOfAudioStreams;

    VideoStreamFacts Video; // empty when the chosen stream does not exist
    AudioStreamFacts Audio;
    QList<FileInfoDataStreamRow> DataStreams;
};

// The window's caption for an analysed file: "Video file properties   ::
// movie.mkv   ::   1.21 GB".
QString FileInfoCaption(const TVideoFileInfo &info, const TFileInfoModuleStrings &strings);

// How the data-stream grid draws a row. Colours are 0xRRGGBB.
struct DataStreamRowColors
{
    // Neither video nor audio: the secondary text colour of the window's
    // palette on the normal background (the described grey, made to read in
    // a dark theme too); the fields below are then unused.
    bool plain = true;
    uint32_t text = 0;
    // A vertical gradient from top to bottom.
    uint32_t gradientTop = 0;
    uint32_t gradientBottom = 0;

    bool operator==(const DataStreamRowColors &) const = default;
};

// By the row's details: "Video..." and "Audio..." (any letter case) in their
// colours, the text darkened by 28 %, the background lightened by 3 % and
// running to that darkened by 5 %.
DataStreamRowColors DataStreamRowColorsOf(const QString &details);
// Each of red, green and blue moved by percent % of itself, within 0..255.
uint32_t LightenRgb(uint32_t rgb, int percent);
uint32_t DarkenRgb(uint32_t rgb, int percent);

// The files up to this size get a CRC32 line in the report (300 MiB).
inline constexpr int64_t MaxReportCrcFileSize = 314572800;

VideoStreamFacts FileInfoVideoValues(
    const TVideoStreamInfo &stream, const TFileInfoModuleStrings &strings);
AudioStreamFacts FileInfoAudioValues(const TAudioStreamInfo &stream);

// "Stream #0:1(eng): Audio: ac3" gives "Stream #0:1(eng)" and "Audio: ac3":
// split at the second ":"; a line with fewer is all details.
FileInfoDataStreamRow SplitDataStreamLine(const QString &line);

// The window's values for the record with audio stream audioNo and video
// stream videoNo shown (both 1-based; a number below 1 is taken as 1, one
// beyond the described streams shows an empty panel).
FileInfoContent FileInfoView(
    const TVideoFileInfo &info, int audioNo, int videoNo, const TFileInfoModuleStrings &strings);

// The report text of an analysed file; lines end with CR LF, the last one
// too. crc32: the file's checksum, or nothing for no CRC32 line (the line
// is also left out for files above MaxReportCrcFileSize).
QString FormatFileInfoReport(const TVideoFileInfo &info, const QString &fullFileName,
    std::optional<uint32_t> crc32, const TFileInfoModuleStrings &strings, const QString &webSite);

// Analyses fileName afresh (ProbeWithFFmpeg, which may throw
// ConsoleRunError) and returns its report, with the CRC32 of files up to
// 300 MiB that can be read. ffmpegAnswered (may be null) becomes false when
// FFmpeg was stopped at its time-out: the report then has name and size.
// runner (may be null) runs FFmpeg, so that a closing window can stop it.
QString GetInfoAsText(const QString &fileName, const QString &ffmpegPath,
    const QString &mediaInfoDll, const TFileInfoModuleStrings &strings, const QString &webSite,
    bool *ffmpegAnswered = nullptr, ConsoleRunner *runner = nullptr);

// The name the save dialog proposes: "movie.mkv" gives "movie.mkv_info.txt".
QString ProposedInfoReportName(const QString &fileName);

// Writes the report in UTF-8 with a byte-order mark, replacing the file as a
// whole (an existing file stays intact when writing fails). False, with
// error set, on failure.
bool SaveInfoReport(const QString &path, const QString &report, QString *error = nullptr);
