#pragma once

#include "encoding/MessageSink.h"

#include <QString>
#include <QStringList>
#include <cstdint>

struct EncoderProgressUpdate;

// The walk is about to start: the checked rows are counted.
struct ConversionWalkStart
{
    int FileCount = 0;
    // A batch-only run keeps the progress window hidden.
    bool BatchOnly = false;
    // The progress bar and its label are hidden in an audio-only run.
    bool AudioOnly = false;
    // The caption of the Abort button during the run (Main.Abort).
    QString AbortCaption;
    // How many files convert at once; above 1, several files run between
    // their fileStarted and fileFinished, told apart by FileNo.
    int Jobs = 1;
};

// One file as the progress window shows it when its row is handled.
struct ConversionFileView
{
    int Row = -1; // index into the rows given to the run
    int FileNo = 0;
    QString InputFile; // lblInputFile, plain text
    QString OutputFile;
    QString OutputMarkup; // lblOutputFile
    // The status label's plain caption: Main.PleaseWait for a file about to
    // be converted, Main.Skipped for a skipped one. Its colour returns to the
    // normal text colour.
    QString StatusText;
};

// One file as it ends.
struct ConversionFileEnd
{
    int Row = -1;
    int FileNo = 0;
    QString DoneText;
    QString StatusMarkup; // "<b>" + done text + "</b>"
    // Converted without abort and with exit code 0: the status shows in
    // TAppParams.ColorOK, otherwise in ColorError.
    bool Succeeded = false;
    // The progress bar goes to 100: only for a file done well.
    bool ProgressComplete = false;
    // How long FFmpeg worked on the file, pauses left out; -1 when it did
    // not run.
    int64_t ElapsedMs = -1;
};

// The clean-up of a run (every way out, early ones included).
struct ConversionRunEnd
{
    // The output view's text: the last FFmpeg run's output, filtered.
    QString OutputText;
    QString AbortCaption; // Main.Close
    QString ApplicationTitle; // the program's title
    QString ProgressCaption; // Progress.Caption
    // The status line the run ends with ("Batch script written: ..." after
    // a batch-only run); empty keeps the last file's.
    QString StatusText;
};

// What the conversion driver tells its front end (the window, the terminal,
// a test's recorder). Every call but progress() comes on the driver's
// thread, in the order of the run; a front end that lives on another thread passes them on (and
// blocks in askYesNo until the user answers). warning() (IMessageSink)
// carries the messages a window shows as warning boxes: FFmpeg missing,
// missing encoders, an invalid typed value, a folder that cannot be created.
class IConversionFrontEnd : public IMessageSink
{
public:
    // DisableAll: no command may start anything during the run.
    virtual void runStarted() { }
    virtual void walkStarted(const ConversionWalkStart &) { }
    // The row is about to be probed and converted: progress bar 0, output
    // view emptied.
    virtual void fileStarted(const ConversionFileView &) { }
    virtual void fileSkipped(const ConversionFileView &) { }
    // The row's colStatus cell (never sent in a batch-only run).
    virtual void rowStatusChanged(int row, const QString &status) = 0;
    // After every line of FFmpeg output. With several files at once it comes
    // on the thread of the file's own FFmpeg run (never two at a time, and
    // never during another call but askYesNo and confirmPowerOff).
    virtual void progress(const EncoderProgressUpdate &) { }
    // The output view after a failed FFmpeg run: the filtered output.
    virtual void outputShown(const QString &) { }
    // A new error-log entry; errorCount is the run's ErrorCount.
    virtual void errorLogged(const QStringList &, int) { }
    virtual void fileFinished(const ConversionFileEnd &) { }
    // EnableAll, the titles back, the progress window hidden when "Close
    // after conversion" is checked.
    virtual void runFinished(const ConversionRunEnd &) { }
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(const QString &question) = 0;
    // A failure to show with an error icon (FFmpeg could not be started, a
    // file cannot be deleted, the script cannot be written).
    virtual void showError(const QString &text) = 0;
    // After a run with errors: the error log's caption ("Errors (2)"), and
    // whether its window is to be shown (not when FFmpeg had to be stopped
    // by force).
    virtual void showErrorLog(const QString &, bool) { }
    // The after-conversion action "Power off the computer" is about to switch the
    // computer off: a window gives the user PowerOffCountdownSeconds to
    // cancel. False cancels the power-off and the closing of the program.
    virtual bool confirmPowerOff() { return true; }
    // The after-conversion action "Close application" (also after "Close
    // Windows" has asked for the power-off).
    virtual void closeApplication() { }
};
