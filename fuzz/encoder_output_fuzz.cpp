// FFmpeg's output during a conversion, flushed line by line as the console
// runner does, through the progress handler and the progress feed: the
// figures stay in range, a window that applies each change (or takes the
// feed now and then) ends with the handler's list, and the handler's
// filtering line by line gives what filtering the whole output gives.

#include "FuzzSupport.h"

#include "conversion/EncoderOutput.h"
#include "conversion/ProgressFeed.h"
#include "conversion/TimeLeft.h"
#include "i18n/AppStrings.h"
#include "process/ConsoleOutputCollector.h"

namespace {

// The output view of a window that applies every update as it comes.
void applyUpdate(QStringList &view, const EncoderProgressUpdate &u)
{
    switch (u.ViewChange) {
    case OutputViewChange::None:
        break;
    case OutputViewChange::AppendLine:
        view.append(u.ViewLine);
        break;
    case OutputViewChange::ReplaceLastLine:
        QLN_FUZZ_CHECK(!view.isEmpty());
        view.last() = u.ViewLine;
        break;
    case OutputViewChange::RemoveLastLine:
        QLN_FUZZ_CHECK(!view.isEmpty());
        view.removeLast();
        break;
    case OutputViewChange::Reset:
        view = u.ViewLines;
        break;
    }
}

// The output view of a reader of the feed.
void applySnapshot(QStringList &view, const ProgressSnapshot &s)
{
    QLN_FUZZ_CHECK(s.keepLines <= view.size());
    view = view.mid(0, s.viewReset ? 0 : s.keepLines) + s.appendLines;
}

void checkFigures(const EncoderProgressUpdate &u, const EncoderProgressInputs &inputs)
{
    QLN_FUZZ_CHECK(u.Percentage >= 0 && u.Percentage <= 100);
    QLN_FUZZ_CHECK(u.ProgressBar == -1 || (u.ProgressBar > 0 && u.ProgressBar <= 100));
    QLN_FUZZ_CHECK(u.Speed >= 0);
    TimeLeftInputs time;
    time.FramesDone = u.FrameCount;
    time.TotalFrames = inputs.TotalFrames;
    time.FileDurationMs = 10000;
    time.Speed = u.Speed;
    time.PassRunningMs = 1500;
    time.PassNo = inputs.PassNo;
    time.PassCount = inputs.TwoPass ? 2 : 1;
    time.NextFilesKnownMs = 60000;
    time.NextFilesKnown = 1;
    time.NextFilesUnknown = 1;
    const TimeLeft left = EstimateTimeLeft(time);
    QLN_FUZZ_CHECK(left.FileMs >= -1 && left.BatchMs >= -1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte chooses the run; the rest is what FFmpeg prints.
    const uint8_t mode = data[0];
    EncoderProgressInputs inputs;
    inputs.IsConverting = true;
    inputs.HideEncoderOutput = mode & 1;
    inputs.TwoPass = mode & 2;
    inputs.PassNo = inputs.TwoPass ? 1 + ((mode >> 2) & 1) : 0;
    inputs.AudioOnly = mode & 8;
    inputs.TotalFrames = (mode & 16) ? 0 : (mode & 32) ? 1 : 250;
    inputs.FileNo = 1;
    inputs.FileCount = 3;
    const int takeEvery = 1 + (mode >> 6);

    static const TAppStrings strings;
    EncoderOutputHandler handler(strings);
    ProgressFeed feed;
    QStringList raw;
    QStringList view;
    QStringList reader;
    int flushes = 0;
    ConsoleOutputCollector collector(&raw, [&](const ConsoleFlush &flush) {
        const EncoderProgressUpdate u = handler.onFlush(flush, inputs);
        checkFigures(u, inputs);
        applyUpdate(view, u);
        feed.push(u);
        if (++flushes % takeEvery == 0)
            applySnapshot(reader, feed.take());
    });
    collector.feed(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
    collector.finish();

    const EncoderProgressUpdate last = handler.refresh(inputs);
    applyUpdate(view, last);
    feed.push(last);
    if (last.Updated && !inputs.HideEncoderOutput)
        QLN_FUZZ_CHECK(view == handler.entries());
    applySnapshot(reader, feed.take());
    QLN_FUZZ_CHECK(reader == feed.viewLines());

    // At the end of a run the driver filters the list and shows it whole.
    handler.FilterEncoderOutput();
    QStringList filtered = raw;
    FilterEncoderOutput(filtered);
    QLN_FUZZ_CHECK(handler.entries() == filtered);
    QStringList again = filtered;
    FilterEncoderOutput(again);
    QLN_FUZZ_CHECK(again == filtered);
    feed.resetView(handler.entries());
    applySnapshot(reader, feed.take());
    QLN_FUZZ_CHECK(reader == filtered);
    // Each entry is parsed or filtered a bounded number of times.
    QLN_FUZZ_CHECK(handler.workCount() <= 4 * (flushes + 2));
    return 0;
}
