#pragma once

#include "cli/CliContext.h"
#include "cli/EncodingOptions.h"
#include "conversion/ConversionDriver.h"
#include "conversion/ConversionFrontEnd.h"
#include "conversion/ProgressFeed.h"
#include "filelist/FileListRow.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <map>

// What convert and script read from their arguments.
struct CliConversionOptions
{
    EncodingOptions encoding;
    // The list the inputs make, as the window's list would hold them: the
    // files it accepts, in order, checked and "Ready".
    std::vector<FileListRow> list;
    // An input was not a supported, existing file with a UTF-8 name.
    bool inputsRejected = false;
    // The flags given (e.g. "--keep-dates").
    QSet<QString> flags;
    // The own value options given ("--error-log", "-o").
    QHash<QString, QString> values;
};

// Parses args: the shared encoding options, the command's flags and value
// options (up to a "--"), and the FILE arguments, filtered as the list
// filters them (each one left out is noted on standard error). False, with
// the message on standard error, for bad arguments.
bool ParseConversionOptions(const CliContext &context, const QStringList &flags,
    const QStringList &valueOptions, CliConversionOptions &options);

// The run setup of the CLI: English texts, the data files beside the
// program, the resolved tools, no pauses.
ConversionSetup CliConversionSetup(const CliContext &context, const EncodingSettings &settings);

// The terminal as the conversion's front end: messages and a throttled
// status line on standard error; the delete question is answered by
// --keep-unfinished.
class TerminalFrontEnd : public IConversionFrontEnd
{
public:
    // Status lines at most this often.
    static constexpr int StatusIntervalMs = 250;

    // reportFiles: a line for each file as it starts and ends.
    TerminalFrontEnd(const QString &commandName, bool keepUnfinished, bool reportFiles = true);

    void warning(const QString &text) override;
    void walkStarted(const ConversionWalkStart &start) override;
    void fileStarted(const ConversionFileView &file) override;
    void fileSkipped(const ConversionFileView &file) override;
    void rowStatusChanged(int, const QString &) override { }
    void progress(const EncoderProgressUpdate &update) override;
    void fileFinished(const ConversionFileEnd &end) override;
    void runFinished(const ConversionRunEnd &end) override;
    bool askYesNo(const QString &question) override;
    void showError(const QString &text) override;

private:
    void message(const QString &text);
    void endStatusLine();
    // Several files at once: one line each on a terminal, rewritten in
    // place, or one combined line.
    void showRunningFiles(const EncoderProgressUpdate &update);

    QString m_prefix;
    bool m_keepUnfinished;
    bool m_reportFiles;
    bool m_terminal;
    bool m_statusOpen = false;
    // The latest status, taken at most every StatusIntervalMs.
    ProgressFeed m_feed{ProgressFeed::WithoutView};
    QElapsedTimer m_sinceStatus;
    QString m_lastStatus;
    int m_jobs = 1;
    int m_fileCount = 0;
    // The whole batch, above the running files.
    QString m_batchLine;
    // The status of each running file by its number, in file order.
    std::map<int, QString> m_running;
    // Lines of the block of running files on the terminal now.
    int m_blockLines = 0;
};

// One line per row on standard output: status, input and output, separated
// by tabs.
void PrintRowResults(const std::vector<ConversionRow> &rows);
