#pragma once

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

// The two choices of the save dialog: "Log file" (*.log) and "HTML file".
enum class ErrorLogFormat { Log, Html };

// What the view and the HTML export of the log highlight.
enum class ErrorLogHighlight {
    Comment, // a line starting with "//" (the entry separator)
    Quoted, // text in single or double quotes
    ErrorWord, // "unable", "error", "invalid", "unknown", "unrecognized"
    Video, // "video:"
    Audio, // "audio:"
    Stream, // "stream" and the labels "#0:0" to "#0:10"
    Option, // FFmpeg options: "-c:v", "-b:a", "-pass", ...
};

struct ErrorLogSpan
{
    qsizetype start = 0;
    qsizetype length = 0;
    ErrorLogHighlight kind = ErrorLogHighlight::Comment;

    bool operator==(const ErrorLogSpan &) const = default;
};

// The highlighted parts of one line of the log, in order, not overlapping
// (letter case ignored).
QList<ErrorLogSpan> ErrorLogHighlights(QStringView line);

// "//" and 60 hyphens: the line that opens every numbered entry.
QString ErrorLogSeparator();

// The lines of one entry: separator, "Error # N" (when Number is above 0),
// "Date & Time: ", the quoted input and output paths, "Parameters: " (when
// Params is not empty), an empty line and the lines of Text. The date and
// time use the locale's short date and long time formats.
QStringList ErrorLogEntryLines(const QString &Text, const QString &InputFile,
    const QString &OutputFile, const QString &Params, int Number, const QDateTime &when,
    const QLocale &locale = QLocale::system());

// The chosen file name with its extension replaced by ".log" or ".html"
// ("report.txt" -> "report.log"); a name without extension gets one.
QString ErrorLogFileName(const QString &chosenName, ErrorLogFormat format);

// The lines as a UTF-8 text file: each line ends with "\n".
QByteArray ErrorLogText(const QStringList &lines);
// The lines as an HTML document showing the same text, with error words,
// "video:"/"audio:", streams, FFmpeg options, quoted text and separator
// lines highlighted. Every character of the log is escaped.
QString ErrorLogHtml(const QStringList &lines);

// The error log of the conversion runs (TFormErrors without the window): one
// entry per FFmpeg run that ended with a nonzero exit code. It also keeps
// ErrorCount, the number of entries of the current run. Not thread-safe.
class ErrorLog
{
public:
    // Start of a conversion run: ErrorCount 0 and no lines.
    void ClearErrorLog();
    // The "Clear log" command: no lines; ErrorCount is kept, so the next
    // entry of the run still gets the next number.
    void clearLines();

    // Appends the lines of one entry and returns them (for a view that shows
    // the log). Number is normally ErrorCount after recordError.
    QStringList AddErrorLogEntry(const QString &Text, const QString &InputFile,
        const QString &OutputFile, const QString &Params, int Number,
        const QDateTime &when = QDateTime::currentDateTime());
    // ErrorCount += 1, then an entry numbered with the new count. Returns the
    // lines appended.
    QStringList recordError(const QString &Text, const QString &InputFile,
        const QString &OutputFile, const QString &Params,
        const QDateTime &when = QDateTime::currentDateTime());

    // Lines of an entry made by another log (the driver's, shown in a
    // window as it comes).
    void appendLines(const QStringList &lines);

    int ErrorCount() const { return m_errorCount; }
    const QStringList &lines() const { return m_lines; }
    bool isEmpty() const { return m_lines.isEmpty(); }
    // The lines joined by "\n".
    QString text() const;

    // Writes the log under ErrorLogFileName(chosenName, format), replacing
    // the file atomically. On success savedName (when given) receives the
    // name written; on failure errorText says why and no file is left half
    // written.
    bool save(const QString &chosenName, ErrorLogFormat format, QString *savedName = nullptr,
        QString *errorText = nullptr) const;

private:
    QStringList m_lines;
    int m_errorCount = 0;
};
