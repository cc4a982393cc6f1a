#pragma once

#include "conversion/StatusLine.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

struct ConsoleFlush;
struct TAppStrings;

// The end of the banner line of builds that print FFmpeg's web domain, run
// together with the first progress line: "...ffmpeg.org)frame=  12 fps=...".
inline constexpr auto FFmpegBannerDomain = "ffmpeg.org";
// The end of the banner line of the FFmpeg 5 builds, which print no domain:
// "...the FFmpeg developersframe=  12 fps=...".
inline constexpr auto FFmpegBannerEnd = "the FFmpeg developers";

// Applies the noise rules to one captured entry: false when the entry is to
// be deleted; a banner line run together with a progress line is cut to the
// progress line (and kept).
bool FilterEncoderOutputEntry(QString &entry);

// Cleans the FFmpeg output list in place. Nothing happens without a list.
void FilterEncoderOutput(QStringList *output);
void FilterEncoderOutput(QStringList &output);

// What the progress handler reads of the conversion state and the window.
struct EncoderProgressInputs
{
    bool IsConverting = false;
    bool AudioOnly = false;
    bool TwoPass = false;
    int PassNo = 0;
    int FileNo = 0;
    int FileCount = 0;
    // The probed file's VideoStreams[0].Frames; 0 when unknown.
    int64_t TotalFrames = 0;
    // chHideEncoderOutput ("Don't show encoder output").
    bool HideEncoderOutput = false;
};

// How the output view's list of lines changed. The view keeps the list up to
// date whether or not it is on show, so no change costs more than one line.
enum class OutputViewChange {
    None,
    AppendLine, // ViewLine becomes the new last line
    ReplaceLastLine, // ViewLine replaces the last line
    RemoveLastLine,
    Reset, // the whole list is ViewLines
};

// What one call of the line handler shows.
struct EncoderProgressUpdate
{
    // False when an entry starting with "Multiple frames in a packet from
    // stream" stopped the handler: everything shown stays as it was.
    bool Updated = false;

    int FrameCount = 0;
    QString FrameRateText;
    QString SpeedText; // markup
    double Speed = 0; // the speed figure; 0 when FFmpeg gives none
    QString SizeText; // markup
    int Percentage = 0; // 0..100

    // Markup of the status label (lblStatus): bold and font tags only. Text
    // taken from FFmpeg's output is HTML-escaped in it, so a tag in that text
    // (FFmpeg prints the input's metadata) is shown, not obeyed.
    QString StatusMarkup;
    // The same facts as one line of plain text, for the terminal.
    QString StatusPlain;
    // The new position of the progress bar; -1 when it keeps its position.
    int ProgressBar = -1;
    // "Progress: 25%" for the progress window; empty: unchanged.
    QString WindowCaption;
    // "(1/3) 25 % - Quillon" for the task bar and the main window; empty:
    // unchanged.
    QString ApplicationTitle;

    // The view shows the output list; otherwise it shows Main.PleaseWait.
    bool ViewShowsOutput = true;
    OutputViewChange ViewChange = OutputViewChange::None;
    QString ViewLine;
    QStringList ViewLines;

    // Filled by the driver, which knows the run: milliseconds left for the
    // file and for the whole run; -1 when they cannot be told.
    int64_t FileTimeLeftMs = -1;
    int64_t BatchTimeLeftMs = -1;

    // The file the update is about (ConversionFileView::FileNo).
    int FileNo = 0;
    // With several files at once: the files ended and the whole batch's
    // progress (0..100), which the captions then tell; -1 in a run of one
    // file at a time.
    int FilesDone = -1;
    int BatchPercentage = -1;
};

// The progress window's line handler (TFormProgress.conev) without the
// window: fed every flush of the runner, it mirrors the FFmpeg output list,
// filters each new entry once, and keeps the values a rescan of the whole
// list would derive, so each line costs the same however long the output
// grows. Not thread-safe: feed it from the thread that runs FFmpeg and pass
// the updates on.
class EncoderOutputHandler
{
public:
    // The entries keep at most this many characters: beyond it the oldest
    // are dropped, so a flooding FFmpeg cannot exhaust memory, while the
    // error log and the view keep the newest output.
    static constexpr qsizetype MaxKeptChars = 2 * 1024 * 1024;

    explicit EncoderOutputHandler(const TAppStrings &strings);
    ~EncoderOutputHandler();
    EncoderOutputHandler(const EncoderOutputHandler &) = delete;
    EncoderOutputHandler &operator=(const EncoderOutputHandler &) = delete;

    // Takes the catalogue texts again (after a language change).
    void setStrings(const TAppStrings &strings);

    // The driver empties the FFmpeg output list before each FFmpeg run.
    void clear();

    // One flush of the runner: the new last entry (appended) or the new text
    // of the last entry (replaced).
    EncoderProgressUpdate onFlush(const ConsoleFlush &flush, const EncoderProgressInputs &inputs);
    EncoderProgressUpdate onFlush(
        const QString &text, bool appended, const EncoderProgressInputs &inputs);
    // The handler called without a new entry (a probe run's lines; the hide
    // box changed).
    EncoderProgressUpdate refresh(const EncoderProgressInputs &inputs);

    // FilterEncoderOutput on the mirrored list: every entry not yet filtered
    // is. The driver calls it before it copies the output into the error log
    // and when a run ends.
    void FilterEncoderOutput();

    // The output list as it stands: entries filtered as far as the handler
    // has filtered them.
    QStringList entries() const;
    // entries() joined by "\n": the text of the output view.
    QString outputText() const;

    // Entries parsed or filtered so far (each new or changed entry counts
    // once, a rebuild of the whole list counts every entry): the work the
    // handler did, for checking that it grows with the output, not faster.
    int64_t workCount() const { return m_work; }

private:
    struct Facts;
    struct Entry;
    enum class ViewState { Stale, Synced };

    static void parseFacts(const QString &text, Facts &facts);
    void setEntryText(qsizetype index, const QString &text, bool filter);
    void addContribution(qsizetype index);
    void removeContribution(qsizetype index);
    // Filters the entries from first on that are not filtered yet; true when
    // the list changed.
    bool filterFrom(qsizetype first);
    // Drops the oldest entries down to half of MaxKeptChars (at least the
    // last entry stays) and derives the values afresh from the rest.
    void dropOldest();
    EncoderProgressUpdate handle(
        const EncoderProgressInputs &inputs, OutputViewChange change, const QString &line);
    QStringList buildViewLines();

    StatusLineWords m_words;

    std::vector<Entry> m_entries;
    // Index of the first visible entry that sets each value, -1 for none: a
    // value found in an earlier entry wins over one found in a later entry.
    qsizetype m_sizeAt = -1;
    qsizetype m_speedAt = -1;
    qsizetype m_frameCountAt = -1;
    qsizetype m_frameRateAt = -1;
    // Visible entries of each kind.
    qsizetype m_multipleFrames = 0;
    qsizetype m_globalHeaders = 0;
    qsizetype m_muxingOverhead = 0;
    // Entries before this one have been filtered.
    qsizetype m_firstUnfiltered = 0;
    qsizetype m_keptChars = 0;
    ViewState m_view = ViewState::Stale;
    int64_t m_work = 0;
};
