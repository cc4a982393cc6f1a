#include "conversion/ErrorLog.h"

#include "app/AppInfo.h"
#include "app/SafeSave.h"

#include <QRegularExpression>
#include <array>
#include <optional>

namespace {

// The user's long time format without the time-zone name, which a log line
// does not need.
QString longTimeFormat(const QLocale &locale)
{
    static const QRegularExpression zone(QStringLiteral("\\s*(?<![A-Za-z'])t+(?![A-Za-z'])"));
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(zone);
    return format.trimmed();
}

QStringList textLines(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineBreak);
}

// Highlighting of the HTML export; the class names refer to its style sheet.
constexpr std::array ErrorWords = {"unable", "error", "invalid", "unknown", "unrecognized"};
// Longest first, so that "-preset:v" is not taken for "-pass"-like prefixes.
constexpr std::array OptionNames = {"preset:v", "threads", "async", "vtag", "pass", "c:v", "c:a",
    "b:v", "b:a", "ar", "ac", "vf", "af", "r"};

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// "#0:0" to "#0:10" at `at`; its length, or 0.
qsizetype streamLabelLength(QStringView line, qsizetype at)
{
    if (!line.mid(at).startsWith(QLatin1String("#0:")))
        return 0;
    qsizetype end = at + 3;
    while (end < line.size() && line[end].isDigit() && end - at < 6)
        ++end;
    if (end == at + 3 || (end < line.size() && line[end].isDigit()))
        return 0;
    bool ok = false;
    const int number = line.mid(at + 3, end - at - 3).toInt(&ok);
    return ok && number <= 10 ? end - at : 0;
}

// An option name after a "-" that starts a word; the length with the "-".
qsizetype optionLength(QStringView line, qsizetype at)
{
    if (line[at] != u'-' || (at > 0 && !line[at - 1].isSpace()))
        return 0;
    for (const char *name : OptionNames) {
        const QLatin1String option(name);
        const qsizetype end = at + 1 + option.size();
        if (line.mid(at + 1).startsWith(option, Qt::CaseInsensitive)
            && (end == line.size() || line[end].isSpace() || line[end] == u'='))
            return end - at;
    }
    return 0;
}

const char *cssClass(ErrorLogHighlight kind)
{
    switch (kind) {
    case ErrorLogHighlight::Comment:
        return "c";
    case ErrorLogHighlight::Quoted:
        return "s";
    case ErrorLogHighlight::ErrorWord:
        return "e";
    case ErrorLogHighlight::Video:
        return "v";
    case ErrorLogHighlight::Audio:
        return "a";
    case ErrorLogHighlight::Stream:
        return "st";
    case ErrorLogHighlight::Option:
        break;
    }
    return "o";
}

QString highlightLine(const QString &line)
{
    QString html;
    qsizetype at = 0;
    for (const ErrorLogSpan &span : ErrorLogHighlights(line)) {
        html += line.mid(at, span.start - at).toHtmlEscaped();
        html += QStringLiteral("<span class=\"") + QLatin1String(cssClass(span.kind))
            + QStringLiteral("\">") + line.mid(span.start, span.length).toHtmlEscaped()
            + QStringLiteral("</span>");
        at = span.start + span.length;
    }
    html += line.mid(at).toHtmlEscaped();
    return html;
}

} // namespace

QList<ErrorLogSpan> ErrorLogHighlights(QStringView line)
{
    QList<ErrorLogSpan> spans;
    if (line.startsWith(QLatin1String("//"))) {
        spans.append({0, line.size(), ErrorLogHighlight::Comment});
        return spans;
    }
    const QStringView view = line;
    qsizetype i = 0;
    while (i < view.size()) {
        const QChar c = view[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype close = view.indexOf(c, i + 1);
            if (close > i) {
                spans.append({i, close - i + 1, ErrorLogHighlight::Quoted});
                i = close + 1;
                continue;
            }
        } else if (c == u'#') {
            if (const qsizetype length = streamLabelLength(view, i)) {
                spans.append({i, length, ErrorLogHighlight::Stream});
                i += length;
                continue;
            }
        } else if (c == u'-') {
            if (const qsizetype length = optionLength(view, i)) {
                spans.append({i, length, ErrorLogHighlight::Option});
                i += length;
                continue;
            }
        } else if (isWordChar(c) && (i == 0 || !isWordChar(view[i - 1]))) {
            qsizetype end = i;
            while (end < view.size() && isWordChar(view[end]))
                ++end;
            const QStringView word = view.mid(i, end - i);
            std::optional<ErrorLogHighlight> kind;
            qsizetype length = end - i;
            for (const char *error : ErrorWords)
                if (word.compare(QLatin1String(error), Qt::CaseInsensitive) == 0)
                    kind = ErrorLogHighlight::ErrorWord;
            if (word.compare(QLatin1String("stream"), Qt::CaseInsensitive) == 0)
                kind = ErrorLogHighlight::Stream;
            // "video:" and "audio:" are marked with their colon.
            const bool colon = end < view.size() && view[end] == u':';
            if (colon && word.compare(QLatin1String("video"), Qt::CaseInsensitive) == 0) {
                kind = ErrorLogHighlight::Video;
                ++length;
            } else if (colon && word.compare(QLatin1String("audio"), Qt::CaseInsensitive) == 0) {
                kind = ErrorLogHighlight::Audio;
                ++length;
            }
            if (kind)
                spans.append({i, length, *kind});
            i += length;
            continue;
        }
        ++i;
    }
    return spans;
}

QString ErrorLogSeparator()
{
    return QStringLiteral("//") + QString(60, u'-');
}

QStringList ErrorLogEntryLines(const QString &Text, const QString &InputFile,
    const QString &OutputFile, const QString &Params, int Number, const QDateTime &when,
    const QLocale &locale)
{
    QStringList lines;
    if (Number > 0)
        lines << ErrorLogSeparator() << QString() << QStringLiteral("Error # %1").arg(Number)
              << QString();
    lines << QStringLiteral("Date & Time: ") + locale.toString(when.date(), QLocale::ShortFormat)
            + QStringLiteral(" / ") + locale.toString(when.time(), longTimeFormat(locale));
    lines << QStringLiteral("Input file: \"") + InputFile + u'"';
    lines << QStringLiteral("Output file: \"") + OutputFile + u'"';
    if (!Params.isEmpty())
        lines << QStringLiteral("Parameters: ") + Params;
    lines << QString();
    lines << textLines(Text);
    return lines;
}

QString ErrorLogFileName(const QString &chosenName, ErrorLogFormat format)
{
    const qsizetype nameStart = chosenName.lastIndexOf(u'/') + 1;
    const qsizetype dot = chosenName.lastIndexOf(u'.');
    // A dot that starts the name marks a hidden file, not an extension.
    const QString base = dot > nameStart ? chosenName.left(dot) : chosenName;
    return base
        + (format == ErrorLogFormat::Html ? QStringLiteral(".html") : QStringLiteral(".log"));
}

QByteArray ErrorLogText(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += line.toUtf8();
        bytes += '\n';
    }
    return bytes;
}

QString ErrorLogHtml(const QStringList &lines)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n"
                                  "<html>\n<head>\n<meta charset=\"utf-8\">\n<title>");
    html += (QLatin1String(AppInfo::ProgramName) + QStringLiteral(" - Errors")).toHtmlEscaped();
    html += QStringLiteral("</title>\n<style>\n"
                           "pre { font-family: monospace; white-space: pre-wrap; }\n"
                           ".c { color: #808080; font-style: italic; }\n"
                           ".s { color: #800080; }\n"
                           ".e { color: #e00000; font-weight: bold; }\n"
                           ".v { color: #ffffff; background-color: #2462c8; }\n"
                           ".a { color: #ffffff; background-color: #496954; }\n"
                           ".st { color: #0000c0; font-weight: bold; }\n"
                           ".o { color: #a05000; font-weight: bold; }\n"
                           "</style>\n</head>\n<body>\n<pre>");
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            html += u'\n';
        html += highlightLine(lines.at(i));
    }
    html += QStringLiteral("</pre>\n</body>\n</html>\n");
    return html;
}

void ErrorLog::ClearErrorLog()
{
    m_errorCount = 0;
    m_lines.clear();
}

void ErrorLog::clearLines()
{
    m_lines.clear();
}

QStringList ErrorLog::AddErrorLogEntry(const QString &Text, const QString &InputFile,
    const QString &OutputFile, const QString &Params, int Number, const QDateTime &when)
{
    QStringList entry = ErrorLogEntryLines(Text, InputFile, OutputFile, Params, Number, when);
    m_lines += entry;
    return entry;
}

QStringList ErrorLog::recordError(const QString &Text, const QString &InputFile,
    const QString &OutputFile, const QString &Params, const QDateTime &when)
{
    ++m_errorCount;
    return AddErrorLogEntry(Text, InputFile, OutputFile, Params, m_errorCount, when);
}

void ErrorLog::appendLines(const QStringList &lines)
{
    m_lines += lines;
}

QString ErrorLog::text() const
{
    return m_lines.join(u'\n');
}

bool ErrorLog::save(
    const QString &chosenName, ErrorLogFormat format, QString *savedName, QString *errorText) const
{
    const QString fileName = ErrorLogFileName(chosenName, format);
    const QByteArray bytes
        = format == ErrorLogFormat::Html ? ErrorLogHtml(m_lines).toUtf8() : ErrorLogText(m_lines);
    if (!SaveWholeFile(fileName, bytes, errorText))
        return false;
    if (savedName)
        *savedName = fileName;
    return true;
}
