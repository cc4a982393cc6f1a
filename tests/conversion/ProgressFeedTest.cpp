#include "conversion/ProgressFeed.h"
#include "conversion/EncoderOutput.h"

#include <QStringList>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

// The i-th update of a chatty run: every field tells i, and the view sees
// every kind of change (appends, progress lines rewritten, lines filtered
// away, a rebuild now and then).
EncoderProgressUpdate update(int i)
{
    EncoderProgressUpdate u;
    u.Updated = true;
    u.FrameCount = i;
    u.Percentage = i % 100 + 1;
    u.ProgressBar = u.Percentage;
    u.StatusPlain = QString::number(i);
    u.StatusMarkup = QStringLiteral("<b>%1</b>").arg(i);
    u.ApplicationTitle = QStringLiteral("title %1").arg(i);
    const QString line = QStringLiteral("line %1").arg(i);
    switch (i % 7) {
    case 0:
    case 1:
    case 2:
        u.ViewChange = OutputViewChange::AppendLine;
        u.ViewLine = line;
        break;
    case 3:
    case 4:
        u.ViewChange = OutputViewChange::ReplaceLastLine;
        u.ViewLine = line;
        break;
    case 5:
        // Every other rewritten line is filtered away; the others stay.
        if (i % 5000 == 5)
            u.ViewChange = OutputViewChange::Reset;
        else if (i / 7 % 2 == 0)
            u.ViewChange = OutputViewChange::RemoveLastLine;
        u.ViewLines = {line};
        break;
    default:
        break;
    }
    return u;
}

// What a view shows after applying the updates one by one.
void apply(QStringList &view, const EncoderProgressUpdate &u)
{
    switch (u.ViewChange) {
    case OutputViewChange::AppendLine:
        view.append(u.ViewLine);
        break;
    case OutputViewChange::ReplaceLastLine:
        if (view.isEmpty())
            view.append(u.ViewLine);
        else
            view.last() = u.ViewLine;
        break;
    case OutputViewChange::RemoveLastLine:
        if (!view.isEmpty())
            view.removeLast();
        break;
    case OutputViewChange::Reset:
        view = u.ViewLines;
        break;
    case OutputViewChange::None:
        break;
    }
}

void apply(QStringList &view, const ProgressSnapshot &s)
{
    if (s.viewReset)
        view.clear();
    ASSERT_LE(s.keepLines, view.size());
    view = view.mid(0, s.keepLines) + s.appendLines;
}

} // namespace

// A reader at 10 Hz and one as fast as it can go both end with the exact
// view the writer built, and never see the fields of two updates mixed.
TEST(ProgressFeed, BurstReadAtAnyPaceLosesNothingAndIsNeverTorn)
{
    constexpr int Updates = 50000;
    for (const int readerPauseMs : {100, 0}) {
        ProgressFeed feed;
        QStringList expected;
        std::atomic<bool> done{false};
        std::thread writer([&] {
            for (int i = 1; i <= Updates; ++i) {
                const EncoderProgressUpdate u = update(i);
                apply(expected, u);
                feed.push(u);
                if (i % 10000 == 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(readerPauseMs / 2));
            }
            done = true;
        });

        QStringList view;
        int lastFrame = 0;
        int takes = 0;
        for (bool last = false; !last;) {
            last = done.load();
            const ProgressSnapshot s = feed.take();
            ++takes;
            apply(view, s);
            if (s.frameCount > 0) {
                const QString n = QString::number(s.frameCount);
                ASSERT_EQ(s.statusPlain, n);
                ASSERT_EQ(s.applicationTitle, QStringLiteral("title ") + n);
                ASSERT_EQ(s.percentage, s.frameCount % 100 + 1);
                ASSERT_GE(s.frameCount, lastFrame);
                lastFrame = s.frameCount;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(readerPauseMs));
        }
        writer.join();
        EXPECT_EQ(lastFrame, Updates);
        EXPECT_EQ(view, expected) << "reader pause " << readerPauseMs << " ms, " << takes
                                  << " takes";
        EXPECT_FALSE(feed.hasNews());
    }
}

// Between two takes only the changed tail travels; a new file starts the
// view afresh; a handler that did not run changes nothing.
TEST(ProgressFeed, TakesCarryOnlyTheChangedTail)
{
    ProgressFeed feed;
    QStringList view;
    for (int i : {7, 8, 9}) // three appends
        feed.push(update(i));
    apply(view, feed.take());
    EXPECT_EQ(view, (QStringList{"line 7", "line 8", "line 9"}));

    feed.push(update(10)); // replaces "line 9"
    ProgressSnapshot s = feed.take();
    EXPECT_EQ(s.keepLines, 2);
    EXPECT_EQ(s.appendLines, QStringList{"line 10"});

    EXPECT_FALSE(feed.hasNews());
    EncoderProgressUpdate stopped = update(11);
    stopped.Updated = false;
    feed.push(stopped);
    EXPECT_FALSE(feed.hasNews());

    feed.resetView();
    s = feed.take();
    EXPECT_TRUE(s.viewReset);
    EXPECT_TRUE(s.appendLines.isEmpty());
    EXPECT_EQ(s.statusPlain, QStringLiteral("10")); // the status stays until the next line
}

TEST(ProgressFeed, AResetSendsOnlyWhatDiffersFromTheLinesTheReaderHas)
{
    ProgressFeed feed;
    feed.resetView({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    feed.take();

    // The filtered output at the end of a run: the same lines and one more.
    feed.resetView(
        {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
    ProgressSnapshot s = feed.take();
    EXPECT_FALSE(s.viewReset);
    EXPECT_EQ(s.keepLines, 3);
    EXPECT_EQ(s.appendLines, QStringList{QStringLiteral("d")});

    feed.resetView({QStringLiteral("a"), QStringLiteral("x")});
    s = feed.take();
    EXPECT_EQ(s.keepLines, 1);
    EXPECT_EQ(s.appendLines, QStringList{QStringLiteral("x")});

    feed.resetView({QStringLiteral("y")});
    s = feed.take();
    EXPECT_TRUE(s.viewReset);
    EXPECT_EQ(s.appendLines, QStringList{QStringLiteral("y")});
}
