#include "filelist/FileListCommands.h"
#include "filelist/FileListFooter.h"
#include "i18n/AppStrings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Rows numbered 1.. with ids 101.., checked as given.
std::vector<FileListRow> numberedRows(std::initializer_list<bool> checks)
{
    std::vector<FileListRow> rows;
    for (bool checked : checks) {
        FileListRow row;
        row.id = 101 + rows.size();
        row.active = checked;
        rows.push_back(row);
    }
    RenumNg(rows);
    return rows;
}

QString checks(const std::vector<FileListRow> &rows)
{
    QString text;
    for (const FileListRow &row : rows)
        text += row.active ? u'x' : u'-';
    return text;
}

TEST(FileListCommands, CheckCommands)
{
    auto rows = numberedRows({true, true, false});
    invertChecks(rows);
    EXPECT_EQ(checks(rows), u"--x"_s);
    EXPECT_EQ(GetNgCheckedCount(rows), 1);
    checkSelected(rows, {0, 5, -1});
    EXPECT_EQ(checks(rows), u"x-x"_s);
    uncheckSelected(rows, {2});
    EXPECT_EQ(checks(rows), u"x--"_s);
    checkAll(rows);
    EXPECT_EQ(checks(rows), u"xxx"_s);
    uncheckAll(rows);
    EXPECT_EQ(checks(rows), u"---"_s);
}

TEST(FileListCommands, RemovingRenumbers)
{
    auto rows = numberedRows({true, false, true, false});
    EXPECT_EQ(removeChecked(rows), 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].id, 102u); // the former rows 2 and 4 ...
    EXPECT_EQ(rows[1].id, 104u);
    EXPECT_EQ(rows[0].no, 1); // ... numbered 1 and 2
    EXPECT_EQ(rows[1].no, 2);

    rows = numberedRows({true, true});
    EXPECT_EQ(removeChecked(rows), 2);
    EXPECT_TRUE(rows.empty());

    rows = numberedRows({true, true, true, true});
    EXPECT_EQ(removeRowsAt(rows, {0, 2, 9}), 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].id, 104u);
    EXPECT_EQ(rows[1].no, 2);
}

TEST(FileListFooter, CountsSumsAndAveragesOfCheckedRows)
{
    const TAppStrings strings;
    EXPECT_EQ(CalcFooter({}, strings, u'.'), FooterTexts());

    auto rows = numberedRows({true, true, true, false});
    const int bitrates[] = {2000, 0, 1500, 9000};
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].analysis.videoBitrate = bitrates[i];
        rows[i].size = 1024;
        rows[i].analysis.duration = 20000;
    }
    rows[0].analysis.duration = 19600; // 59 600 ms over the checked rows
    rows[0].analysis.videoFPS = 23.976;
    rows[2].analysis.videoFPS = 30;
    rows[1].analysis.videoBpp = 0.1;
    rows[3].analysis.audioStreamSize = 5000; // unchecked: never counts

    FooterTexts footer = CalcFooter(rows, strings, u',');
    EXPECT_EQ(footer[colNo], u"4"_s);
    EXPECT_EQ(footer[colActive], u"3"_s);
    EXPECT_EQ(footer[colVideoBitrate], u"AVG  1750,00"_s);
    EXPECT_EQ(footer[colVideoFPS], u"AVG  26,99"_s);
    EXPECT_EQ(footer[colVideoBpp], u"AVG  0,100"_s);
    EXPECT_EQ(footer[colSize], u"3.00 KB"_s);
    EXPECT_EQ(footer[colDuration], u"00:01:00"_s);
    EXPECT_TRUE(footer[colAudioStreamSize].isEmpty());
    EXPECT_TRUE(footer[colAudioBitrate].isEmpty());
    EXPECT_TRUE(footer[colStatus].isEmpty());

    uncheckAll(rows);
    footer = CalcFooter(rows, strings, u'.');
    EXPECT_EQ(footer[colNo], u"4"_s);
    EXPECT_EQ(footer[colActive], u"0"_s);
    EXPECT_TRUE(footer[colSize].isEmpty() && footer[colVideoBitrate].isEmpty());
}

} // namespace
