#include "conversion/ErrorLog.h"

#include "support/TestSupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDateTime When(QDate(2024, 6, 7), QTime(14, 5, 9));
const QString Separator = "//------------------------------------------------------------";

std::string str(const QStringList &lines)
{
    return lines.join(u'|').toStdString();
}

TEST(ErrorLogEntry, HasSeparatorHeaderPathsParametersAndText)
{
    struct Case
    {
        const char *name;
        int number;
        QString params;
        QStringList expected;
    };
    const QStringList tail = {"Date & Time: 7 Jun 2024 / 14:05:09", "Input file: \"/in/a b.mkv\"",
        "Output file: \"/out/a b.avi\""};
    for (const Case &c : {
             Case{"numbered", 1, "-y -i x",
                 QStringList{Separator, "", "Error # 1", ""} + tail
                     + QStringList{"Parameters: -y -i x", "", "ExitCode: 1", "[avi] broken", ""}},
             Case{"no parameters", 2, "",
                 QStringList{Separator, "", "Error # 2", ""} + tail
                     + QStringList{"", "ExitCode: 1", "[avi] broken", ""}},
             Case{"number 0", 0, "-y",
                 tail + QStringList{"Parameters: -y", "", "ExitCode: 1", "[avi] broken", ""}},
         }) {
        SCOPED_TRACE(c.name);
        const QStringList lines = ErrorLogEntryLines("ExitCode: 1\r\n[avi] broken\n", "/in/a b.mkv",
            "/out/a b.avi", c.params, c.number, When, QLocale::c());
        EXPECT_EQ(lines, c.expected) << str(lines);
    }
}

TEST(ErrorLogEntry, UsesTheShortDateAndLongTimeOfTheLocale)
{
    const QStringList lines = ErrorLogEntryLines(
        "x", "i", "o", "", 0, When, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(lines.first(), "Date & Time: 6/7/24 / 2:05:09 PM");
}

TEST(ErrorLog, NumbersEntriesAcrossClearLogButNotAcrossRuns)
{
    ErrorLog log;
    const auto numbers = [&] {
        QStringList found;
        for (const QString &line : log.lines())
            if (line.startsWith("Error # "))
                found << line;
        return found;
    };

    log.recordError("ExitCode: 1", "a", "b", "", When);
    log.ClearErrorLog(); // a new run
    log.recordError("ExitCode: 1", "a", "b", "", When);
    log.recordError("ExitCode: 1", "a", "b", "", When);
    EXPECT_EQ(numbers(), (QStringList{"Error # 1", "Error # 2"}));
    EXPECT_EQ(log.ErrorCount(), 2);

    log.clearLines(); // the "Clear log" command
    EXPECT_TRUE(log.isEmpty());
    log.recordError("ExitCode: 1", "a", "b", "", When);
    EXPECT_EQ(numbers(), QStringList{"Error # 3"});
}

TEST(ErrorLogFile, ReplacesTheExtension)
{
    struct Case
    {
        QString chosen;
        ErrorLogFormat format;
        QString expected;
    };
    for (const Case &c : {
             Case{"/tmp/report.txt", ErrorLogFormat::Log, "/tmp/report.log"},
             Case{"/tmp/report", ErrorLogFormat::Log, "/tmp/report.log"},
             Case{"/tmp/a.b.txt", ErrorLogFormat::Html, "/tmp/a.b.html"},
             Case{"/tmp/report.log", ErrorLogFormat::Html, "/tmp/report.html"},
             Case{"/tmp/dir.d/report", ErrorLogFormat::Log, "/tmp/dir.d/report.log"},
             Case{"/tmp/.errors", ErrorLogFormat::Log, "/tmp/.errors.log"},
         }) {
        EXPECT_EQ(ErrorLogFileName(c.chosen, c.format), c.expected) << c.chosen.toStdString();
    }
}

TEST(ErrorLogFile, SavesUtf8LinesUnderTheLogName)
{
    QTemporaryDir dir;
    ErrorLog log;
    log.recordError(
        "ExitCode: 1\r\nUnknown encoder 'x'", "/in/Überfall.mkv", "/out/o.avi", "-y", When);
    QString saved;
    ASSERT_TRUE(log.save(dir.filePath("report.txt"), ErrorLogFormat::Log, &saved));
    EXPECT_EQ(saved, dir.filePath("report.log"));
    EXPECT_FALSE(QFile::exists(dir.filePath("report.txt")));
    EXPECT_EQ(TestSupport::ReadFile(saved), (log.text() + '\n').toUtf8());
    EXPECT_TRUE(TestSupport::ReadFile(saved).contains("Input file: \"/in/\xc3\x9c"
                                                      "berfall.mkv\"\n"));

    QString error;
    EXPECT_FALSE(log.save(dir.filePath("missing/report"), ErrorLogFormat::Log, nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
}

// Removes the markup and resolves the entities: what a browser shows.
QString shownText(const QString &html)
{
    const qsizetype start = html.indexOf("<pre>") + 5;
    QString body = html.mid(start, html.indexOf("</pre>") - start);
    body.remove(QRegularExpression("<[^>]*>"));
    return body.replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&quot;", "\"")
        .replace("&amp;", "&");
}

TEST(ErrorLogHtml, ShowsTheSameTextWithEveryCharacterEscaped)
{
    ErrorLog log;
    const QString awkward = "/in/<b>a&b</b> \"q\" 'x'.mkv";
    log.recordError("ExitCode: 1\r\n<script>alert(1)</script> & more", awkward, "/out/a&lt;.avi",
        "-y -i \"" + awkward + "\"", When);
    const QString html = ErrorLogHtml(log.lines());

    EXPECT_EQ(shownText(html), log.text());
    EXPECT_FALSE(html.contains("<script>"));
    EXPECT_FALSE(html.contains("<b>a"));
    EXPECT_TRUE(html.contains("&amp;lt;"));
    EXPECT_TRUE(html.startsWith("<!DOCTYPE html>"));
    EXPECT_TRUE(html.contains("<meta charset=\"utf-8\">"));
}

TEST(ErrorLogHtml, HighlightsErrorsStreamsOptionsQuotesAndComments)
{
    struct Case
    {
        QString line;
        QString fragment;
    };
    for (const Case &c : {
             Case{Separator, "<span class=\"c\">" + Separator + "</span>"},
             Case{"Error # 1", "<span class=\"e\">Error</span> # 1"},
             Case{"Unrecognized option 'foo'.",
                 "<span class=\"e\">Unrecognized</span> option <span class=\"s\">'foo'</span>."},
             Case{"Errors", "Errors"},
             Case{"video:10kB AUDIO:2kB",
                 "<span class=\"v\">video:</span>10kB <span "
                 "class=\"a\">AUDIO:</span>2kB"},
             Case{"Stream #0:1 -> #0:11",
                 "<span class=\"st\">Stream</span> <span class=\"st\">#0:1</span> -&gt; #0:11"},
             Case{"Parameters: -c:v mpeg4 -r 25 -pass 1 -ar 44100 x-r",
                 "Parameters: <span class=\"o\">-c:v</span> mpeg4 <span class=\"o\">-r</span> 25 "
                 "<span class=\"o\">-pass</span> 1 <span class=\"o\">-ar</span> 44100 x-r"},
             Case{"Input file: \"/a/it's.mkv\"",
                 "Input file: <span class=\"s\">&quot;/a/it's.mkv&quot;</span>"},
         }) {
        const QString html = ErrorLogHtml({c.line});
        EXPECT_TRUE(html.contains("<pre>" + c.fragment + "</pre>")) << html.toStdString();
    }
}

} // namespace
