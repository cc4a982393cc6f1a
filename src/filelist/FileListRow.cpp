#include "filelist/FileListRow.h"

#include "analysis/VideoFileInfo.h"
#include "app/TextHelpers.h"
#include "i18n/AppStrings.h"

using namespace Qt::StringLiterals;

namespace {

const QString Kbps = u" kbit/s"_s;

QString resolutionText(int width, int height)
{
    if (width == 0 || height == 0)
        return {};
    return FormatThousands(width) + u" x "_s + FormatThousands(height);
}

QString scanTypeText(const QString &scanType, const TAppStrings &strings)
{
    QString text = scanType.trimmed().toLower();
    if (text == "interlaced"_L1)
        return strings.FileInfo.ScanType_Interlaced;
    if (text == "progressive"_L1)
        return strings.FileInfo.ScanType_Progressive;
    return text;
}

// The summaries join their parts with ", ", and a part may be missing at
// either end.
QString trimSeparators(QString text)
{
    if (text.startsWith(", "_L1))
        text.remove(0, 2);
    if (text.endsWith(", "_L1))
        text.chop(2);
    return text;
}

void fillVideoCells(FileAnalysisCells &cells, const TVideoStreamInfo &v, const TAppStrings &strings)
{
    cells.videoCodec = v.Codec;
    cells.videoCodecID = v.CodecID;
    cells.videoProfile = v.Profile;
    cells.videoBitrate = std::max(v.Bitrate, 0);
    cells.videoWidth = v.Width;
    cells.videoHeight = v.Height;
    cells.videoResolution = resolutionText(v.Width, v.Height);
    cells.videoDisplayAspect = v.DARStr;
    cells.videoFPS = v.FPS;
    cells.videoBpp = v.BitsPerPixel;
    cells.videoScanType = scanTypeText(v.ScanType, strings);
    cells.videoStreamSize = v.StreamSize;

    QString summary = v.Codec;
    const QString bitrate = FormatThousands(cells.videoBitrate);
    if (bitrate != u'0')
        summary += u", "_s + bitrate + Kbps;
    if (!cells.videoResolution.isEmpty())
        summary += u", "_s + cells.videoResolution;
    // Without a codec name the summary would start with ", ".
    cells.video = trimSeparators(summary);
}

QString audioCodecName(const TAudioStreamInfo &a)
{
    QString name = QString(a.Codec).remove(u"(Windows Media Audio)"_s).trimmed();
    if ((name.contains(u"MPEG Audio - Version 1"_s) && a.Profile == "Layer 3"_L1)
        || name.contains(u"(MP3)"_s))
        return u"MP3"_s;
    return name;
}

void fillAudioCells(FileAnalysisCells &cells, const TAudioStreamInfo &a, const TAppStrings &strings)
{
    const QString name = audioCodecName(a);
    cells.audioCodecID = a.CodecID;
    cells.audioProfile = a.Profile;
    cells.audioCodec = name;

    QString summary = name;
    const QString bitrate = FormatThousands(a.Bitrate);
    if (bitrate != u'0') {
        summary += u", "_s + bitrate + Kbps;
        if (!a.BitrateMode.isEmpty())
            summary += u' ' + a.BitrateMode;
    }
    if (a.Channels != 0)
        summary += u", "_s + strings.FileInfo.lblChannels + u' ' + QString::number(a.Channels);
    cells.audio = trimSeparators(summary);

    cells.audioBitrate = a.Bitrate;
    cells.audioChannels = a.Channels;
    cells.audioSampling = a.SamplingRate;
    cells.audioStreamSize = a.StreamSize;
}

} // namespace

QString directoryOfPath(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return {};
    return slash == 0 ? u"/"_s : path.left(slash);
}

QString fileNameOfPath(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString fullFileName(const FileListRow &row)
{
    if (row.directory.isEmpty() || row.directory.endsWith(u'/'))
        return row.directory + row.fileName;
    return row.directory + u'/' + row.fileName;
}

FileListRow newFileListRow(
    uint64_t id, const QString &fullPath, int64_t size, const QString &readyText)
{
    FileListRow row;
    row.id = id;
    row.fileName = fileNameOfPath(fullPath);
    row.directory = directoryOfPath(fullPath);
    row.size = std::max<int64_t>(size, 0);
    row.status = readyText;
    return row;
}

FileAnalysisCells analysisCellsOf(const TVideoFileInfo &info, const TAppStrings &strings)
{
    FileAnalysisCells cells;
    cells.duration = info.Duration;
    if (info.NumberOfVideoStreams > 0)
        fillVideoCells(cells, info.VideoStreams[0], strings);
    if (info.NumberOfAudioStreams > 0)
        fillAudioCells(cells, info.AudioStreams[0], strings);
    return cells;
}

bool IsValidRowIndex(const std::vector<FileListRow> &rows, int index)
{
    return index >= 0 && size_t(index) < rows.size();
}

QString GetNgShortFileName(const std::vector<FileListRow> &rows, int index)
{
    return IsValidRowIndex(rows, index) ? rows[index].fileName : QString();
}

QString GetNgDirectory(const std::vector<FileListRow> &rows, int index)
{
    return IsValidRowIndex(rows, index) ? rows[index].directory : QString();
}

QString GetNgFullFileName(const std::vector<FileListRow> &rows, int index)
{
    return IsValidRowIndex(rows, index) ? fullFileName(rows[index]) : QString();
}

int rowIndexOfId(const std::vector<FileListRow> &rows, uint64_t id)
{
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].id == id)
            return int(i);
    return -1;
}
