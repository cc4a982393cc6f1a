#include "filelist/FileListColumns.h"

#include "app/TextHelpers.h"

#include <algorithm>
#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

using M = TMainModuleStrings;
constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment Centre = Qt::AlignHCenter | Qt::AlignVCenter;

FileListColumnInfo text(QString M::*caption, bool shown)
{
    return {caption, {}, true, shown, true, CellSort::Text, CellFormat::Text, Left};
}

FileListColumnInfo number(QString M::*caption, CellFormat format, bool shown, QStringView unit = {})
{
    return {caption, unit, true, shown, true, CellSort::Number, format, Right};
}

const std::array<FileListColumnInfo, FileListColumnCount> &columnTable()
{
    static const std::array<FileListColumnInfo, FileListColumnCount> table{{
        number(&M::colNo, CellFormat::Grouped, true),
        {nullptr, {}, false, true, false, CellSort::Check, CellFormat::None, Centre},
        {&M::colIcon, {}, false, true, true, CellSort::Number, CellFormat::None, Centre},
        {&M::colFile, {}, true, true, false, CellSort::Text, CellFormat::Text, Left},
        text(&M::colDirectory, true),
        number(&M::colSize, CellFormat::Size, true),
        number(&M::colDuration, CellFormat::Duration, true),
        text(&M::colVideo, true),
        text(&M::colVideoCodec, false),
        text(&M::colVideoCodecID, false),
        text(&M::colVideoProfile, false),
        number(&M::colVideoBitrate, CellFormat::GroupedPositive, false, u" [kbit/s]"),
        number(&M::colVideoWidth, CellFormat::GroupedPositive, false),
        number(&M::colVideoHeight, CellFormat::GroupedPositive, false),
        text(&M::colVideoResolution, false),
        text(&M::colVideoDisplayAspect, false),
        number(&M::colVideoFPS, CellFormat::Decimals2, false),
        number(&M::colVideoBpp, CellFormat::Decimals3, false),
        text(&M::colVideoScanType, false),
        number(&M::colVideoStreamSize, CellFormat::SizePositive, false),
        text(&M::colAudio, true),
        text(&M::colAudioCodec, false),
        text(&M::colAudioCodecID, false),
        text(&M::colAudioProfile, false),
        number(&M::colAudioBitrate, CellFormat::GroupedPositive, false, u" [kbit/s]"),
        number(&M::colAudioChannels, CellFormat::GroupedPositive, false),
        number(&M::colAudioSampling, CellFormat::GroupedPositive, false, u" [Hz]"),
        number(&M::colAudioStreamSize, CellFormat::SizePositive, false),
        text(&M::colStatus, true),
        number(&M::colExpectedSize, CellFormat::SizePositive, false),
    }};
    return table;
}

double numberOf(const FileListRow &row, FileListColumn column)
{
    const FileAnalysisCells &a = row.analysis;
    switch (column) {
    case colNo:
        return row.no;
    case colActive:
        return row.active ? 1 : 0;
    case colIcon:
        return double(row.id);
    case colSize:
        return double(row.size);
    case colDuration:
        return a.duration;
    case colVideoBitrate:
        return a.videoBitrate;
    case colVideoWidth:
        return a.videoWidth;
    case colVideoHeight:
        return a.videoHeight;
    case colVideoFPS:
        return a.videoFPS;
    case colVideoBpp:
        return a.videoBpp;
    case colVideoStreamSize:
        return double(a.videoStreamSize);
    case colAudioBitrate:
        return a.audioBitrate;
    case colAudioChannels:
        return a.audioChannels;
    case colAudioSampling:
        return a.audioSampling;
    case colAudioStreamSize:
        return double(a.audioStreamSize);
    case colExpectedSize:
        return double(row.expectedSize);
    default:
        return 0;
    }
}

QString textOf(const FileListRow &row, FileListColumn column)
{
    const FileAnalysisCells &a = row.analysis;
    switch (column) {
    case colFileName:
        return row.fileName;
    case colDirectory:
        return row.directory;
    case colVideo:
        return a.video;
    case colVideoCodec:
        return a.videoCodec;
    case colVideoCodecID:
        return a.videoCodecID;
    case colVideoProfile:
        return a.videoProfile;
    case colVideoResolution:
        return a.videoResolution;
    case colVideoDisplayAspect:
        return a.videoDisplayAspect;
    case colVideoScanType:
        return a.videoScanType;
    case colAudio:
        return a.audio;
    case colAudioCodec:
        return a.audioCodec;
    case colAudioCodecID:
        return a.audioCodecID;
    case colAudioProfile:
        return a.audioProfile;
    case colStatus:
        return row.status;
    default:
        return {};
    }
}

} // namespace

const FileListColumnInfo &fileListColumn(FileListColumn column)
{
    return columnTable().at(column);
}

QString columnCaptionText(FileListColumn column, const TAppStrings &strings)
{
    const FileListColumnInfo &info = fileListColumn(column);
    return info.caption ? strings.Main.*info.caption : QString();
}

QString columnHeaderText(FileListColumn column, const TAppStrings &strings)
{
    const FileListColumnInfo &info = fileListColumn(column);
    if (!info.headerHasText)
        return {};
    return columnCaptionText(column, strings).append(info.unit);
}

QString wholeSecondsText(double ms)
{
    const auto seconds = int64_t(std::floor(ms / 1000.0 + 0.5));
    const auto pad = [](int64_t v) { return u"%1"_s.arg(v, 2, 10, QLatin1Char('0')); };
    return pad(seconds / 3600) + u':' + pad(seconds % 3600 / 60) + u':' + pad(seconds % 60);
}

QString decimalsText(double value, int decimals, QChar decimalSeparator)
{
    return QString::number(value, 'f', decimals).replace(u'.', decimalSeparator);
}

QString cellText(const FileListRow &row, FileListColumn column, QChar decimalSeparator)
{
    const double value = numberOf(row, column);
    switch (fileListColumn(column).format) {
    case CellFormat::Text:
        return VisibleControlChars(textOf(row, column));
    case CellFormat::None:
        return {};
    case CellFormat::Grouped:
        return FormatThousands(int64_t(value));
    case CellFormat::Size:
        return FormatSize(RoundHalfEven(value));
    default:
        break;
    }
    if (value <= 0)
        return {};
    switch (fileListColumn(column).format) {
    case CellFormat::GroupedPositive:
        return FormatThousands(int64_t(value));
    case CellFormat::SizePositive:
        return FormatSize(RoundHalfEven(value));
    case CellFormat::Duration:
        return wholeSecondsText(value);
    case CellFormat::Decimals2:
        return decimalsText(value, 2, decimalSeparator);
    case CellFormat::Decimals3:
        return decimalsText(value, 3, decimalSeparator);
    default:
        return {};
    }
}

QVariant cellSortKey(const FileListRow &row, FileListColumn column)
{
    switch (fileListColumn(column).sort) {
    case CellSort::Check:
        return row.active;
    case CellSort::Text:
        return textOf(row, column);
    case CellSort::Number:
        break;
    }
    return numberOf(row, column);
}

int compareCells(const FileListRow &a, const FileListRow &b, FileListColumn column)
{
    if (fileListColumn(column).sort == CellSort::Text)
        return QString::compare(textOf(a, column), textOf(b, column), Qt::CaseInsensitive);
    const double x = numberOf(a, column);
    const double y = numberOf(b, column);
    return x < y ? -1 : (y < x ? 1 : 0);
}

void sortRows(std::vector<FileListRow> &rows, FileListColumn column, Qt::SortOrder order)
{
    std::stable_sort(rows.begin(), rows.end(), [&](const FileListRow &a, const FileListRow &b) {
        const int c = compareCells(a, b, column);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
}
