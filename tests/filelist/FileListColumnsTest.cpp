#include "filelist/FileListColumns.h"

#include <gtest/gtest.h>
#include <set>

using namespace Qt::StringLiterals;

namespace {

TEST(FileListColumns, HeadersVisibilityAndHiding)
{
    const TAppStrings strings;
    const std::pair<FileListColumn, QString> headers[] = {
        {colNo, u"No"_s},
        {colActive, u""_s},
        {colIcon, u""_s},
        {colFileName, u"File"_s},
        {colVideoBitrate, u"Video bitrate [kbit/s]"_s},
        {colVideoFPS, u"Frames/sec."_s},
        {colAudioBitrate, u"Audio bitrate [kbit/s]"_s},
        {colAudioSampling, u"Sampling [Hz]"_s},
        {colStatus, u"Status"_s},
    };
    for (const auto &[column, header] : headers)
        EXPECT_EQ(columnHeaderText(column, strings), header) << column;
    // The visibility commands carry the plain catalogue text.
    EXPECT_EQ(columnCaptionText(colAudioSampling, strings), u"Sampling"_s);
    EXPECT_EQ(columnCaptionText(colIcon, strings), u"Icon"_s);

    std::set<int> shown, fixed, captionless;
    for (int c = 0; c < FileListColumnCount; ++c) {
        const auto column = FileListColumn(c);
        if (fileListColumn(column).initiallyVisible)
            shown.insert(c);
        if (!fileListColumn(column).userMayHide)
            fixed.insert(c);
        if (columnCaptionText(column, strings).isEmpty())
            captionless.insert(c);
    }
    EXPECT_EQ(shown,
        (std::set<int>{colNo, colActive, colIcon, colFileName, colDirectory, colSize, colDuration,
            colVideo, colAudio, colStatus}));
    EXPECT_EQ(fixed, (std::set<int>{colActive, colFileName}));
    EXPECT_EQ(captionless, std::set<int>{colActive});
}

TEST(FileListColumns, CellTexts)
{
    FileListRow row;
    FileAnalysisCells &a = row.analysis;
    const auto text = [&](FileListColumn column, QChar separator = u'.') {
        return cellText(row, column, separator);
    };
    // Value 0: numbers that are facts of the analysis stay empty; No and size do not.
    EXPECT_EQ(text(colNo), u"0"_s);
    EXPECT_EQ(text(colSize), u" 0 bytes"_s);
    for (FileListColumn column :
        {colDuration, colVideoBitrate, colVideoWidth, colVideoFPS, colVideoBpp, colVideoStreamSize,
            colAudioChannels, colAudioSampling, colAudioStreamSize, colActive, colIcon})
        EXPECT_TRUE(text(column).isEmpty()) << column;

    row.no = 1234;
    row.size = 1300000000;
    a.duration = 59600;
    a.videoBitrate = 1500;
    a.videoFPS = 29.97;
    a.videoBpp = 0.1234;
    a.videoStreamSize = 512;
    a.audioSampling = 48000;
    a.audioBitrate = -1;
    row.status = u"Ready"_s;
    EXPECT_EQ(text(colNo), u"1 234"_s);
    EXPECT_EQ(text(colSize), u"1.21 GB"_s);
    EXPECT_EQ(text(colDuration), u"00:01:00"_s);
    EXPECT_EQ(text(colVideoBitrate), u"1 500"_s);
    EXPECT_EQ(text(colVideoFPS, u','), u"29,97"_s);
    EXPECT_EQ(text(colVideoBpp), u"0.123"_s);
    EXPECT_EQ(text(colVideoStreamSize), u"512 bytes"_s);
    EXPECT_EQ(text(colAudioSampling), u"48 000"_s);
    EXPECT_EQ(text(colAudioBitrate), u""_s);
    EXPECT_EQ(text(colStatus), u"Ready"_s);

    const std::pair<double, QString> durations[] = {
        {5999500, u"01:40:00"_s},
        {2500, u"00:00:03"_s}, // half a second rounds up, not to even
        {499, u"00:00:00"_s},
        {360000000, u"100:00:00"_s},
    };
    for (const auto &[ms, shown] : durations)
        EXPECT_EQ(wholeSecondsText(ms), shown) << ms;
}

TEST(FileListColumns, SortNumbersTextsAndChecks)
{
    std::vector<FileListRow> rows(4);
    const int sizes[] = {10, 9, 100, 9};
    const char16_t *names[] = {u"b.mkv", u"C.mkv", u"a.mkv", u"B.mkv"};
    const bool checked[] = {true, false, true, false};
    for (int i = 0; i < 4; ++i) {
        rows[i].id = uint64_t(10 + i);
        rows[i].no = i + 1;
        rows[i].size = sizes[i];
        rows[i].fileName = QString::fromUtf16(names[i]);
        rows[i].active = checked[i];
    }
    const auto order = [&] {
        QString ids;
        for (const FileListRow &row : rows)
            ids += QString::number(row.no);
        return ids;
    };
    sortRows(rows, colSize, Qt::AscendingOrder); // 9 < 10 < 100, ties kept in order
    EXPECT_EQ(order(), u"2413"_s);
    sortRows(rows, colFileName, Qt::AscendingOrder); // a, B, b, C: case ignored
    EXPECT_EQ(order(), u"3412"_s);
    sortRows(rows, colActive, Qt::AscendingOrder); // unchecked first
    EXPECT_EQ(order(), u"4231"_s);
    sortRows(rows, colSize, Qt::DescendingOrder);
    EXPECT_EQ(order(), u"3142"_s);
    sortRows(rows, colIcon, Qt::AscendingOrder); // back to the order of adding
    EXPECT_EQ(order(), u"1234"_s);
    EXPECT_EQ(rows[0].no, 1); // sorting does not renumber
    EXPECT_EQ(cellSortKey(rows[0], colActive), QVariant(true));
    EXPECT_EQ(cellSortKey(rows[1], colSize), QVariant(9.0));
    EXPECT_EQ(cellSortKey(rows[1], colFileName), QVariant(u"C.mkv"_s));
}

} // namespace
