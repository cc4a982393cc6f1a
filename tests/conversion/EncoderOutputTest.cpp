#include "conversion/EncoderOutput.h"

#include "app/TextHelpers.h"
#include "i18n/AppStrings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// Tag-free text of a field of the status markup: it does not wrap at its
// blanks nor after its slashes.
QString nb(const QString &text)
{
    return QString(text).replace(u' ', QChar(QChar::Nbsp)).replace(u'/', QStringLiteral("/\u2060"));
}

// The status line wraps only after the colons between two fields.
const QString Sep = nb("    ::") + "    ";
const QString ExampleLine = QStringLiteral("frame=  250 fps= 50 q=2.0 size=    1024kB "
                                           "time=00:00:10.00 bitrate= 838.9kbits/s speed=2.00x");
const QString ExampleSpeed
    = QStringLiteral(" <b><FONT bgcolor=\"#496954\" color=\"#E0EBE0\">  2.00x  </FONT></b> ");
const QString ExampleSpeedField = nb(" ") + "<b><FONT bgcolor=\"#496954\" color=\"#E0EBE0\">"
    + nb("  2.00x  ") + "</FONT></b>" + nb(" ");
const QString Summary = QStringLiteral("video:1000kB audio:200kB subtitle:0kB other streams:0kB "
                                       "global headers:0kB muxing overhead: 0.5%");

EncoderProgressInputs inputs(int64_t totalFrames = 1000)
{
    EncoderProgressInputs in;
    in.IsConverting = true;
    in.FileNo = 1;
    in.FileCount = 3;
    in.TotalFrames = totalFrames;
    return in;
}

// Applies the view changes as a window would.
void applyView(QStringList &view, const EncoderProgressUpdate &u)
{
    switch (u.ViewChange) {
    case OutputViewChange::None:
        break;
    case OutputViewChange::AppendLine:
        view.append(u.ViewLine);
        break;
    case OutputViewChange::ReplaceLastLine:
        view.last() = u.ViewLine;
        break;
    case OutputViewChange::RemoveLastLine:
        view.removeLast();
        break;
    case OutputViewChange::Reset:
        view = u.ViewLines;
        break;
    }
}

class EncoderOutputTest : public testing::Test
{
protected:
    TAppStrings strings;
    EncoderOutputHandler handler{strings};

    EncoderProgressUpdate feed(const QStringList &lines, const EncoderProgressInputs &in)
    {
        EncoderProgressUpdate last;
        for (const QString &line : lines)
            last = handler.onFlush(line, true, in);
        return last;
    }
};

TEST_F(EncoderOutputTest, ProgressLineGivesValuesAndStatus)
{
    const EncoderProgressUpdate u
        = feed({"Press [q] to stop, [?] for help", ExampleLine}, inputs(1000));

    ASSERT_TRUE(u.Updated);
    EXPECT_EQ(u.Percentage, 25);
    EXPECT_EQ(u.ProgressBar, 25);
    EXPECT_EQ(u.FrameCount, 250);
    EXPECT_EQ(u.FrameRateText, "50");
    EXPECT_EQ(u.SpeedText, ExampleSpeed);
    EXPECT_EQ(u.SizeText, "<b>1.00 MB</b>");
    EXPECT_EQ(u.StatusMarkup,
        nb("Converting file: ") + "<b>1</b>" + nb(" / ") + "<b>3</b>" + Sep + nb("Speed: ")
            + ExampleSpeedField + nb(" ( 50 frames/sec )") + Sep + nb("Frame: 250 / ~1000") + Sep
            + "<b>" + nb("1.00 MB") + "</b>");
    EXPECT_EQ(u.StatusPlain,
        "Converting file: 1 / 3 | Speed: 2.00x (50 frames/sec) | "
        "Frame: 250 / ~1000 | 1.00 MB | Progress: 25%");
    EXPECT_EQ(u.WindowCaption, "Progress: 25%");
    EXPECT_EQ(u.ApplicationTitle, "(1/3) 25 % - Quillon");
    EXPECT_TRUE(u.ViewShowsOutput);

    EncoderProgressInputs idle = inputs(1000);
    idle.IsConverting = false;
    EXPECT_TRUE(handler.refresh(idle).ApplicationTitle.isEmpty());
}

TEST_F(EncoderOutputTest, TwoPassStatusCarriesThePassBadge)
{
    struct Case
    {
        int pass;
        QString colours;
    };
    for (const Case &c : {Case{1, "bgcolor=\"#D63D16\" color=\"#FAD3C9\""},
             Case{2, "bgcolor=\"#2462C8\" color=\"#D5EBFD\""}}) {
        SCOPED_TRACE(c.pass);
        handler.clear();
        EncoderProgressInputs in = inputs(1000);
        in.TwoPass = true;
        in.PassNo = c.pass;
        const EncoderProgressUpdate u = feed({ExampleLine}, in);
        const QString badge = "  <font " + c.colours + "><b>" + nb("  pass ")
            + QString::number(c.pass) + nb("  ") + "</b></font>" + nb(" ");
        EXPECT_EQ(u.StatusMarkup,
            nb("Converting file: ") + "<b>1</b>" + nb(" / ") + "<b>3</b>" + badge + Sep
                + nb("Speed: ") + ExampleSpeedField + nb(" (50 frames/sec)") + Sep
                + nb("Frame: 250 / ~1000") + Sep + "<b>" + nb("1.00 MB") + "</b>");
        EXPECT_TRUE(u.StatusPlain.startsWith(
            "Converting file: 1 / 3, pass " + QString::number(c.pass) + " | "));
    }
}

TEST_F(EncoderOutputTest, NoProgressYetOrUnknownTotalShowsNoProgress)
{
    struct Case
    {
        const char *name;
        QString line;
        int64_t total;
        int frames;
    };
    for (const Case &c : {
             Case{"frame count 0",
                 "frame=    0 fps=0.0 q=0.0 size=       0kB time=00:00:00.00 "
                 "bitrate=N/A speed=   0x",
                 1000, 0},
             Case{"no progress line", "  Stream #0:0: Video: mpeg4", 1000, 0},
             Case{"total frames 0", ExampleLine, 0, 250},
         }) {
        SCOPED_TRACE(c.name);
        handler.clear();
        const EncoderProgressUpdate u = feed({c.line}, inputs(c.total));
        ASSERT_TRUE(u.Updated);
        EXPECT_EQ(u.Percentage, 0);
        EXPECT_EQ(u.ProgressBar, -1);
        EXPECT_TRUE(u.WindowCaption.isEmpty());
        EXPECT_TRUE(u.ApplicationTitle.isEmpty());
        // The status line is still rebuilt.
        EXPECT_TRUE(u.StatusMarkup.contains(
            nb(QStringLiteral("Frame: %1 / ~%2").arg(c.frames).arg(c.total))));
    }
}

TEST_F(EncoderOutputTest, AudioOnlyStatusShowsFileNumbersOnly)
{
    EncoderProgressInputs in = inputs(0);
    in.AudioOnly = true;
    in.FileNo = 2;
    in.FileCount = 5;
    const EncoderProgressUpdate u
        = feed({"size=     512kB time=00:00:30.00 bitrate= 139.8kbits/s speed=61.2x"}, in);
    EXPECT_EQ(u.StatusMarkup, nb("Converting file: 2 / 5"));
    EXPECT_EQ(u.StatusPlain, "Converting file: 2 / 5 | Speed: 61.2x | 512.00 KB");
}

TEST_F(EncoderOutputTest, OutputTextIsShownNotObeyedInTheMarkup)
{
    const EncoderProgressUpdate u
        = feed({"frame=  1 fps=<i>5 q=1 size= <a href=x>&kB speed=<img src=\"x\">"}, inputs(1000));
    EXPECT_FALSE(u.StatusMarkup.contains("<i>") || u.StatusMarkup.contains("<a ")
        || u.StatusMarkup.contains("<img"))
        << u.StatusMarkup.toStdString();
    EXPECT_TRUE(u.StatusMarkup.contains(nb("&lt;img src=&quot;x&quot;&gt;")));
    EXPECT_TRUE(u.StatusMarkup.contains(nb("( &lt;i&gt;5 frames/sec )")));
    EXPECT_TRUE(u.StatusMarkup.endsWith(Sep + nb("&lt;a href=x&gt;&amp;")));
    EXPECT_TRUE(u.StatusPlain.contains("Speed: <img src=\"x\"> (<i>5 frames/sec)"));
}

TEST_F(EncoderOutputTest, HiddenOutputStopsAtMultipleFramesUntilCleared)
{
    EncoderProgressInputs hidden = inputs(1000);
    hidden.HideEncoderOutput = true;
    const QString multiple = QStringLiteral("multiple frames in a packet from stream 0");

    EXPECT_TRUE(feed({ExampleLine}, hidden).Updated);
    EXPECT_FALSE(
        feed({multiple, "frame=  500 fps= 50 q=2.0 size=    2048kB speed=2.00x"}, hidden).Updated);
    EXPECT_FALSE(handler.refresh(hidden).Updated);

    // With the output shown, the filter has removed the entry already.
    EncoderProgressInputs shown = hidden;
    shown.HideEncoderOutput = false;
    EXPECT_TRUE(handler.refresh(shown).Updated);
    handler.clear();
    const EncoderProgressUpdate u = feed({multiple, ExampleLine}, shown);
    EXPECT_TRUE(u.Updated);
    EXPECT_EQ(u.Percentage, 25);

    handler.clear();
    feed({multiple}, hidden);
    handler.clear();
    EXPECT_TRUE(feed({ExampleLine}, hidden).Updated);
}

TEST_F(EncoderOutputTest, HiddenOutputShowsTheListAtTheEndOnly)
{
    EncoderProgressInputs hidden = inputs(1000);
    hidden.HideEncoderOutput = true;
    EXPECT_FALSE(feed({"Input #0, matroska", ExampleLine}, hidden).ViewShowsOutput);
    EXPECT_TRUE(handler.onFlush("frame= 1000 fps= 50 q=2.0 size= 4096kB speed=2.00x", false, hidden)
                    .ViewShowsOutput);

    handler.clear();
    EXPECT_TRUE(feed({"Input #0"}, inputs(0)).ViewShowsOutput);
    handler.clear();
    EXPECT_FALSE(
        feed({"Input #0", "video:10kB audio:1kB global headers:0kB"}, hidden).ViewShowsOutput);
    EXPECT_TRUE(feed({"muxing overhead: 1%"}, hidden).ViewShowsOutput);
}

TEST_F(EncoderOutputTest, BannerRunTogetherWithProgressIsCutAndParsed)
{
    for (const QString &banner :
        {QStringLiteral("ffmpeg version 5.1.9-0+deb12u1 Copyright (c) 2000-2026 the FFmpeg "
                        "developers"),
            QStringLiteral("FFmpeg version SVN-r25512, Copyright (c) 2000-2010 the FFmpeg "
                           "developers (http://ffmpeg.org)")}) {
        SCOPED_TRACE(banner.toStdString());
        handler.clear();
        const EncoderProgressUpdate u = feed({banner + ExampleLine}, inputs(1000));
        EXPECT_EQ(handler.entries(), QStringList{ExampleLine});
        EXPECT_EQ(u.FrameCount, 250);
        EXPECT_EQ(u.Percentage, 25);
    }
}

struct FilterCase
{
    const char *rule;
    QString entry;
    bool kept;
};

void PrintTo(const FilterCase &filterCase, std::ostream *os)
{
    *os << filterCase.rule;
}

class FilterEncoderOutputRules : public testing::TestWithParam<FilterCase>
{
};

TEST_P(FilterEncoderOutputRules, DeleteNoiseAndKeepTheRest)
{
    const FilterCase &c = GetParam();
    QStringList list{"before", c.entry, "after"};
    FilterEncoderOutput(list);
    const QStringList expected
        = c.kept ? QStringList{"before", c.entry, "after"} : QStringList{"before", "after"};
    EXPECT_EQ(list, expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, FilterEncoderOutputRules,
    testing::Values(FilterCase{"empty", "", false},
        FilterCase{"blanks and controls", " \t\x01\r ", false},
        FilterCase{"start, case ignored", "ffmpeg VERSION 5.1.9 Copyright", false},
        FilterCase{"start with two blanks", "  libavutil      57. 28.100 / 57. 28.100", false},
        FilterCase{"start needs exactly two blanks", "   libavutil      57. 28.100", true},
        FilterCase{"contains", "[mp3 @ 0x5581] Header missing", false},
        FilterCase{"contains, case significant", "[mp3 @ 0x5581] header missing", true},
        FilterCase{"pair", "[mpeg4 @ 0x55] Error at MB: 12", false},
        FilterCase{"pair, one half only", "[h264 @ 0x55] Error at MB: 12", true},
        FilterCase{"pair, case significant", "[MPEG4 @ 0x55] Error at MB: 12", true},
        FilterCase{"ordinary line", "  Stream #0:0: Video: mpeg4 (Simple Profile)", true}),
    [](const auto &info) { return TestSupport::TestNameOf(info.param.rule); });

TEST(FilterEncoderOutput, RepairsBannerAndLeavesNoList)
{
    QStringList list{
        "x (http://ffmpeg.org)frame=  1 fps=0.0", "ffmpeg.org)frame= 2 Header missing"};
    FilterEncoderOutput(list);
    // The second entry is cut and then meets a deletion rule, as the next
    // filtering of the list would find.
    EXPECT_EQ(list, QStringList{"frame=  1 fps=0.0"});
    FilterEncoderOutput(nullptr);
}

// The handler written the simple way, as a rescan of the whole list at
// every line; the incremental handler must agree with it at every step.
struct ReferenceHandler
{
    struct Record
    {
        QString text;
        bool removed = false;
    };
    std::vector<Record> list;

    struct Result
    {
        bool updated = false;
        int frameCount = 0;
        QString frameRate, speed, size;
        int percentage = 0;
        bool showsOutput = false;
        QStringList view;
    };

    void flush(const QString &text, bool appended)
    {
        if (appended || list.empty())
            list.push_back({text});
        else
            list.back() = {text};
    }

    Result call(const EncoderProgressInputs &in)
    {
        Result r;
        if (!in.HideEncoderOutput)
            for (Record &record : list)
                if (!record.removed)
                    record.removed = !FilterEncoderOutputEntry(record.text);
        QString text;
        for (const Record &record : list) {
            if (!record.removed) {
                r.view.append(record.text);
                text += record.text + '\n';
            }
        }
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            if (it->removed)
                continue;
            const QString &t = it->text;
            if (t.startsWith("Multiple frames in a packet from stream", Qt::CaseInsensitive))
                return r;
            if (t.contains("size=")) {
                const QString after = t.mid(t.indexOf("size=") + 5).trimmed();
                const qsizetype k = after.indexOf("KB ", 0, Qt::CaseInsensitive);
                if (k >= 0) {
                    r.size = after.left(k);
                    if (IsValidInt(r.size))
                        r.size = "<b>" + FormatSize(r.size.toLongLong() * 1024) + "</b>";
                }
            }
            if (t.contains("speed="))
                r.speed = t.mid(t.indexOf("speed=") + 6).trimmed();
            if (t.startsWith("frame=", Qt::CaseInsensitive)) {
                const QString rest = t.mid(6);
                const qsizetype fps = rest.indexOf("fps=");
                if (fps < 0)
                    continue;
                const QString rate = rest.mid(fps + 4).trimmed();
                const QString frame = rest.left(fps).trimmed();
                if (IsValidInt(frame))
                    r.frameCount = frame.toInt();
                if (rate.contains(' '))
                    r.frameRate = rate.left(rate.indexOf(' '));
            }
        }
        r.updated = true;
        if (r.frameCount > 0)
            r.percentage = in.TotalFrames > 0
                ? int(std::clamp<int64_t>(
                    RoundHalfEven(r.frameCount * 100.0 / double(in.TotalFrames)), 0, 100))
                : 0;
        r.showsOutput = !in.HideEncoderOutput || r.percentage == 100
            || (text.contains("global headers:") && text.contains("muxing overhead:"));
        return r;
    }
};

TEST_F(EncoderOutputTest, AgreesWithAFullRescanAtEveryLine)
{
    const QStringList pool = {
        "frame=  %1 fps= %2 q=2.0 size=    %3kB time=00:00:01.00 bitrate= 838.9kbits/s speed=%2x",
        "frame=%1 fps=25",
        "FRAME= %1 fps= 7 q=1",
        "frame=abc fps= 1 x",
        "frame= %1 q=1",
        "size=     %3kB time=00:00:02.00 bitrate= 100.0kbits/s speed=%2x",
        "size=N/A time=00:00:02.00 speed=1x",
        "Lsize=     x7kB time=0",
        "speed=%2.5x",
        "Press [q] to stop, [?] for help",
        "Past duration 0.999 too large",
        "",
        " \t",
        "Multiple frames in a packet from stream %2",
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one line, split for its length
        "ffmpeg version 5.1 Copyright (c) 2000-2026 the FFmpeg developersframe=  %1 fps= %2 "
        "q=1 size=  %3kB speed=1x",
        "x ffmpeg.org)frame= %1 fps= 2 q=1 Header missing",
        "video:10kB audio:2kB global headers:0kB",
        "muxing overhead: 1.5%",
        "  Stream #0:0: Video: mpeg4",
        "[mpeg4 @ 0x55] Error at MB: %2",
    };
    std::mt19937 random(20240607);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };

    ReferenceHandler reference;
    QStringList view;
    EncoderProgressInputs in = inputs(1000);
    for (int step = 0; step < 20000; ++step) {
        SCOPED_TRACE(step);
        if (pick(100) < 3)
            in.HideEncoderOutput = !in.HideEncoderOutput;
        if (pick(500) == 0) {
            handler.clear();
            reference.list.clear();
        }
        if (pick(200) == 0)
            in.TotalFrames = std::array<int64_t, 3>{0, 100, 1000}[pick(3)];

        EncoderProgressUpdate u;
        if (pick(100) < 3) {
            u = handler.refresh(in);
        } else {
            QString line = pool.at(pick(int(pool.size())));
            line.replace("%1", QString::number(pick(1200)))
                .replace("%2", QString::number(pick(60)))
                .replace("%3", QString::number(pick(5000)));
            const bool appended = pick(100) < 60;
            u = handler.onFlush(line, appended, in);
            reference.flush(line, appended);
        }
        const ReferenceHandler::Result r = reference.call(in);

        ASSERT_EQ(u.Updated, r.updated);
        ASSERT_EQ(handler.entries(), r.view);
        if (!r.updated)
            continue;
        applyView(view, u);
        ASSERT_EQ(view, r.view);
        ASSERT_EQ(u.FrameCount, r.frameCount);
        ASSERT_EQ(u.FrameRateText, r.frameRate);
        ASSERT_EQ(u.SizeText, r.size);
        if (r.speed.isEmpty())
            ASSERT_EQ(u.SpeedText, "");
        else
            ASSERT_TRUE(u.SpeedText.contains("  " + r.speed + "  ")) << u.SpeedText.toStdString();
        ASSERT_EQ(u.Percentage, r.percentage);
        ASSERT_EQ(u.ViewShowsOutput, r.showsOutput);
    }
}

TEST_F(EncoderOutputTest, FloodKeepsTheNewestOutputWithinTheLimit)
{
    // Output without line ends reaches the handler in entries of the
    // runner's longest line.
    const int lineChars = 20480;
    const int lines = int(3 * EncoderOutputHandler::MaxKeptChars / lineChars);
    const EncoderProgressInputs in = inputs(1000);
    QStringList view;
    for (int i = 0; i < lines; ++i)
        applyView(
            view, handler.onFlush(QString::number(i).leftJustified(lineChars, u'x'), true, in));
    const EncoderProgressUpdate last = handler.onFlush(ExampleLine, true, in);
    applyView(view, last);

    const QStringList kept = handler.entries();
    qsizetype chars = 0;
    for (const QString &entry : kept)
        chars += entry.size();
    EXPECT_LE(chars, EncoderOutputHandler::MaxKeptChars);
    EXPECT_GE(chars, EncoderOutputHandler::MaxKeptChars / 4);
    // The newest entries, in order, up to the last line.
    ASSERT_EQ(kept.last(), ExampleLine);
    const int first = kept.first().section(u'x', 0, 0).toInt();
    for (qsizetype k = 0; k + 1 < kept.size(); ++k)
        ASSERT_TRUE(kept.at(k).startsWith(QString::number(first + k) + u'x')) << k;
    EXPECT_EQ(first + kept.size() - 1, lines);
    EXPECT_EQ(view, kept);
    EXPECT_EQ(last.FrameCount, 250);
    EXPECT_LE(handler.workCount(), 4 * int64_t(lines));
}

// A real run: a banner, progress lines rewriting one entry, a warning now
// and then.
int64_t workForLines(int lines)
{
    TAppStrings strings;
    EncoderOutputHandler handler(strings);
    const EncoderProgressInputs in = inputs(lines);
    QStringList view;
    for (const char *banner : {"ffmpeg version 5.1.9", "  libavutil      57. 28.100",
             "Input #0, matroska,webm, from 'in.mkv':", "Press [q] to stop, [?] for help"})
        applyView(view, handler.onFlush(QString::fromLatin1(banner), true, in));
    bool newLine = true;
    for (int i = 1; i <= lines; ++i) {
        if (i % 100 == 0) {
            applyView(view, handler.onFlush("[mpeg4 @ 0x1] ac-tex damaged", false, in));
            newLine = true;
            continue;
        }
        applyView(view,
            handler.onFlush(QStringLiteral("frame=%1 fps= 50 q=2.0 size=    %2kB "
                                           "time=00:00:10.00 speed=2.00x")
                                .arg(i)
                                .arg(i * 4),
                newLine, in));
        newLine = false;
    }
    EXPECT_EQ(view, handler.entries());
    return handler.workCount();
}

TEST(EncoderOutputHandlerCost, GrowsLinearlyWithTheOutput)
{
    const int64_t small = workForLines(10000);
    const int64_t large = workForLines(50000);
    EXPECT_LE(small, 2 * 10000 + 100);
    EXPECT_LE(large, 2 * 50000 + 100);
    EXPECT_LE(double(large) / double(small), 5.5);
}

} // namespace
