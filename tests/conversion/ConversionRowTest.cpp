#include "conversion/ConversionRow.h"

#include "filelist/FileListRow.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(ConversionRow, RowsOfTheListKeepOrderChecksStatusAndDuration)
{
    std::vector<FileListRow> list{newFileListRow(7, u"/v/b.mkv"_s, 10, u"Ready"_s),
        newFileListRow(3, u"/a.mkv"_s, 10, u"Ready"_s)};
    list[0].active = false;
    list[0].status = u"Done"_s;
    list[1].analysis.duration = 1500;
    const std::vector<ConversionRow> rows = ConversionRowsOf(list);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].FullFileName, "/v/b.mkv");
    EXPECT_FALSE(rows[0].Checked);
    EXPECT_EQ(rows[0].Status, "Done");
    EXPECT_EQ(rows[1].FullFileName, "/a.mkv");
    EXPECT_TRUE(rows[1].Checked);
    EXPECT_EQ(rows[1].Status, "Ready");
    EXPECT_EQ(rows[1].DurationMs, 1500);
    EXPECT_TRUE(rows[1].OutputFile.isEmpty());
    EXPECT_EQ(rows[1].Outcome, RowOutcome::NotReached);
}

TEST(ConversionRow, OutcomesCounted)
{
    std::vector<ConversionRow> rows;
    for (RowOutcome outcome : {RowOutcome::Done, RowOutcome::Renamed, RowOutcome::Overwritten,
             RowOutcome::Done, RowOutcome::Skipped, RowOutcome::Skipped, RowOutcome::NotReached}) {
        rows.emplace_back();
        rows.back().Outcome = outcome;
    }
    OutcomeCounts counts = CountOutcomes(rows);
    EXPECT_EQ(counts.done, 2);
    EXPECT_EQ(counts.renamed, 1);
    EXPECT_EQ(counts.overwritten, 1);
    EXPECT_EQ(counts.converted(), 4);
    EXPECT_EQ(counts.skipped, 2);
    EXPECT_EQ(counts.notReached, 1);
    EXPECT_EQ(counts.failed + counts.aborted, 0);
    // Skipped files are not retried; failed and aborted ones are.
    EXPECT_FALSE(HasRowsToRetry(rows));

    rows[4].Outcome = RowOutcome::Failed;
    rows[6].Outcome = RowOutcome::Aborted;
    counts = CountOutcomes(rows);
    EXPECT_EQ(counts.failed, 1);
    EXPECT_EQ(counts.aborted, 1);
    EXPECT_EQ(counts.skipped, 1);
    EXPECT_TRUE(HasRowsToRetry(rows));
    rows[4].Outcome = RowOutcome::Skipped;
    EXPECT_TRUE(HasRowsToRetry(rows)); // the aborted one alone
}

} // namespace
