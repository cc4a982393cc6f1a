#include "filelist/FileListCommands.h"
#include "filelist/FileListFooter.h"
#include "i18n/AppStrings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Rows numbered 1.. with ids 101..; "x-" gives a checked and an unchecked one.
std::vector<FileListRow> numberedRows(const char *checks)
{
    std::vector<FileListRow> rows;
    for (const char *c = checks; *c; ++c) {
        rows.emplace_back();
        rows.back().id = 100 + rows.size();
        rows.back().active = *c == 'x';
    }
    RenumNg(rows);
    return rows;
}

QString describe(const std::vector<FileListRow> &rows)
{
    QString text;
    for (const FileListRow &row : rows)
        text += QStringLiteral("%1:%2%3 ")
                    .arg(row.no)
                    .arg(row.id)
                    .arg(QChar(row.active ? u'x' : u'-'));
    return text.trimmed();
}

TEST(FileListCommands, CheckAndRemove)
{
    auto rows = numberedRows("xx-");
    invertChecks(rows);
    EXPECT_EQ(describe(rows), u"1:101- 2:102- 3:103x"_s);
    checkSelected(rows, {0, 5, -1});
    uncheckSelected(rows, {2});
    EXPECT_EQ(describe(rows), u"1:101x 2:102- 3:103-"_s);
    checkAll(rows);
    EXPECT_EQ(GetNgCheckedCount(rows), 3);
    uncheckAll(rows);
    EXPECT_EQ(GetNgCheckedCount(rows), 0);

    rows = numberedRows("x-x-");
    EXPECT_EQ(removeChecked(rows), 2);
    EXPECT_EQ(describe(rows), u"1:102- 2:104-"_s); // the former rows 2 and 4
    rows = numberedRows("xxxx");
    EXPECT_EQ(removeRowsAt(rows, {0, 2, 9}), 2);
    EXPECT_EQ(describe(rows), u"1:102x 2:104x"_s);
}

TEST(FileListFooter, CountsSumsAndAveragesOfCheckedRows)
{
    const TAppStrings strings;
    EXPECT_EQ(CalcFooter({}, strings, u'.'), FooterTexts());

    auto rows = numberedRows("xxx-");
    const int bitrates[] = {2000, 0, 1500, 9000};
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].analysis.videoBitrate = bitrates[i];
        rows[i].size = 1024;
        rows[i].analysis.duration = 20000;
        rows[i].analysis.videoBpp = 0.1 * double(i);
    }
    rows[0].analysis.duration = 19600; // 59 600 ms over the checked rows
    rows[3].analysis.audioStreamSize = 5000; // unchecked: never counts

    FooterTexts footer = CalcFooter(rows, strings, u',');
    EXPECT_EQ(footer[colNo], u"4"_s);
    EXPECT_EQ(footer[colActive], u"3"_s);
    EXPECT_EQ(footer[colVideoBitrate], u"AVG  1750,00"_s);
    EXPECT_EQ(footer[colVideoBpp], u"AVG  0,150"_s);
    EXPECT_EQ(footer[colSize], u"3.00 KB"_s);
    EXPECT_EQ(footer[colDuration], u"00:01:00"_s);
    EXPECT_TRUE(footer[colAudioStreamSize].isEmpty() && footer[colVideoFPS].isEmpty());

    uncheckAll(rows);
    footer = CalcFooter(rows, strings, u'.');
    EXPECT_EQ(footer[colActive], u"0"_s);
    EXPECT_TRUE(footer[colSize].isEmpty() && footer[colVideoBitrate].isEmpty());
}

} // namespace
