// The running files' feed between the files' threads and a reader that
// takes at its own pace.
#include "ui/conversion/RunningFilesFeed.h"
#include "conversion/EncoderOutput.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <thread>

namespace {

EncoderProgressUpdate lineOf(int fileNo, int i)
{
    EncoderProgressUpdate u;
    u.Updated = true;
    u.FileNo = fileNo;
    u.ProgressBar = i % 101;
    u.ViewChange = OutputViewChange::AppendLine;
    u.ViewLine = QStringLiteral("%1:%2").arg(fileNo).arg(i);
    u.BatchPercentage = i % 101;
    return u;
}

// The reader's copy of a view after a take (as the window keeps it).
void apply(QStringList &lines, const ProgressSnapshot &s)
{
    lines = lines.mid(0, s.viewReset ? 0 : std::min(s.keepLines, lines.size()));
    lines += s.appendLines;
}

TEST(RunningFilesFeed, AReaderTakingAtAnyPaceEndsWithExactlyTheChosenFilesView)
{
    constexpr int Lines = 3000;
    RunningFilesFeed feed;
    feed.addFile(1);
    feed.addFile(2);
    std::thread one([&] {
        for (int i = 0; i < Lines; ++i)
            feed.push(lineOf(1, i));
    });
    std::thread two([&] {
        for (int i = 0; i < Lines; ++i)
            feed.push(lineOf(2, i));
    });
    QStringList view;
    int lastPercent = 0;
    while (view.size() < Lines) {
        const RunningFilesTake take = feed.take(1, false);
        ASSERT_EQ(take.viewFileNo, 1);
        apply(view, take.view);
        for (const RunningFileState &file : take.files)
            if (file.fileNo == 1)
                lastPercent = file.percentage;
    }
    one.join();
    two.join();
    apply(view, feed.take(1, false).view);
    QStringList expected;
    for (int i = 0; i < Lines; ++i)
        expected << QStringLiteral("1:%1").arg(i);
    EXPECT_EQ(view, expected);
    EXPECT_EQ(lastPercent, (Lines - 1) % 101);

    // Choosing the other file sends its whole view, then only its changes.
    RunningFilesTake whole = feed.take(2, true);
    EXPECT_TRUE(whole.view.viewReset);
    EXPECT_EQ(whole.view.appendLines.size(), Lines);
    EXPECT_EQ(whole.view.appendLines.last(), QStringLiteral("2:%1").arg(Lines - 1));
    ASSERT_EQ(whole.files.size(), 1u); // the chosen file's values, unchanged as they are
    EXPECT_EQ(whole.files[0].fileNo, 2);
    feed.push(lineOf(2, Lines));
    const RunningFilesTake next = feed.take(2, false);
    EXPECT_EQ(next.view.keepLines, Lines);
    EXPECT_EQ(next.view.appendLines, QStringList{QStringLiteral("2:%1").arg(Lines)});

    // A file gone takes no more updates.
    feed.removeFile(2);
    feed.push(lineOf(2, Lines + 1));
    EXPECT_TRUE(feed.take(2, false).files.empty());
}

} // namespace
