#include "filelist/FileListColumns.h"

#include <gtest/gtest.h>
#include <set>

using namespace Qt::StringLiterals;

namespace {

TEST(FileListColumns, HeadersAndVisibility)
{
    const TAppStrings strings;
    QStringList headers;
    std::set<int> shown, fixed;
    for (int c = 0; c < FileListColumnCount; ++c) {
        headers.append(columnHeaderText(FileListColumn(c), strings));
        if (fileListColumn(FileListColumn(c)).initiallyVisible)
            shown.insert(c);
        if (!fileListColumn(FileListColumn(c)).userMayHide)
            fixed.insert(c);
    }
    EXPECT_EQ(headers.mid(0, 6).join(u'|'), u"No|||File|Directory|Size"_s);
    EXPECT_EQ(headers[colVideoBitrate], u"Video bitrate [kbit/s]"_s);
    EXPECT_EQ(headers[colAudioSampling], u"Sampling [Hz]"_s);
    EXPECT_EQ(headers[colStatus], u"Status"_s);
    EXPECT_EQ(columnCaptionText(colAudioSampling, strings), u"Sampling"_s); // menus: no unit
    EXPECT_EQ(columnCaptionText(colIcon, strings), u"Icon"_s);
    EXPECT_EQ(shown,
        (std::set<int>{colNo, colActive, colIcon, colFileName, colDirectory, colSize, colDuration,
            colVideo, colAudio, colStatus}));
    EXPECT_EQ(fixed, (std::set<int>{colActive, colFileName}));
}

TEST(FileListColumns, CellTexts)
{
    FileListRow row;
    FileAnalysisCells &a = row.analysis;
    // Facts of the analysis at 0 stay empty; the number and the size do not.
    for (FileListColumn column : {colDuration, colVideoBitrate, colVideoFPS, colVideoBpp,
             colVideoStreamSize, colAudioSampling})
        EXPECT_TRUE(cellText(row, column, u'.').isEmpty()) << column;
    EXPECT_EQ(cellText(row, colSize, u'.'), u" 0 bytes"_s);

    row.no = 1234;
    row.size = 1300000000;
    a.videoBitrate = 1500;
    a.videoFPS = 29.97;
    a.videoBpp = 0.1234;
    a.videoStreamSize = 512;
    const std::pair<FileListColumn, QString> cases[] = {{colNo, u"1 234"_s},
        {colSize, u"1.21 GB"_s}, {colVideoBitrate, u"1 500"_s}, {colVideoFPS, u"29,97"_s},
        {colVideoBpp, u"0,123"_s}, {colVideoStreamSize, u"512 bytes"_s}};
    for (const auto &[column, shown] : cases)
        EXPECT_EQ(cellText(row, column, u','), shown) << column;

    // Control characters of a name or a tag are shown, not obeyed.
    row.fileName = u"new\nline\tand\x7f.mkv"_s;
    EXPECT_EQ(cellText(row, colFileName, u'.'), u"new\u23CEline\u2409and\u2421.mkv"_s);
    EXPECT_EQ(row.fileName, u"new\nline\tand\x7f.mkv"_s);

    const std::pair<double, QString> durations[] = {{59600, u"00:01:00"_s},
        {5999500, u"01:40:00"_s}, {2500, u"00:00:03"_s}, // half a second up, not to even
        {499, u"00:00:00"_s}, {360000000, u"100:00:00"_s}};
    for (const auto &[ms, shown] : durations)
        EXPECT_EQ(wholeSecondsText(ms), shown) << ms;
}

TEST(FileListColumns, SortNumbersTextsAndChecks)
{
    std::vector<FileListRow> rows(4);
    const int sizes[] = {10, 9, 100, 9};
    const char16_t *names[] = {u"b", u"C", u"a", u"B"};
    for (int i = 0; i < 4; ++i) {
        rows[i].id = uint64_t(10) + uint64_t(i);
        rows[i].no = i + 1;
        rows[i].active = i % 2 == 0;
        rows[i].size = sizes[i];
        rows[i].fileName = QString::fromUtf16(names[i]);
    }
    const auto order = [&] {
        QString numbers;
        for (const FileListRow &row : rows)
            numbers += QString::number(row.no);
        return numbers;
    };
    const std::tuple<FileListColumn, Qt::SortOrder, QString> steps[] = {
        {colSize, Qt::AscendingOrder, u"2413"_s}, // 9 < 10 < 100; ties keep their order
        {colFileName, Qt::AscendingOrder, u"3412"_s}, // case ignored
        {colActive, Qt::AscendingOrder, u"4231"_s}, // unchecked first
        {colSize, Qt::DescendingOrder, u"3142"_s},
        {colIcon, Qt::AscendingOrder, u"1234"_s}, // the order of adding
    };
    for (const auto &[column, direction, expected] : steps) {
        sortRows(rows, column, direction);
        EXPECT_EQ(order(), expected) << column;
    }
    EXPECT_EQ(cellSortKey(rows[1], colSize), QVariant(9.0)); // a number, not "9"
}

} // namespace
