#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>
#include <vector>

// Console byte streams and the output list they must give, shared by the
// tests of the line collector and of the runner.
struct ConsoleLineCase
{
    const char *name;
    QByteArray bytes;
    QStringList entries;
};

// Test names and listings show the case's name, not its bytes and pointers,
// so they are the same at every run.
inline void PrintTo(const ConsoleLineCase &lineCase, std::ostream *os)
{
    *os << lineCase.name;
}

inline std::vector<ConsoleLineCase> ConsoleLineCases()
{
    const QByteArray chunk(20480, 'x');
    return {
        {"CrLfPairs", "line one\r\nline two\r\n", {"line one", "line two", ""}},
        {"BareLineFeeds", "line one\nline two\n", {"line one", "line two", ""}},
        {"ProgressLinesOverwrite", "frame=1\rframe=2\r", {""}},
        {"ProgressWithoutEnd", "frame=1\rframe=2", {"frame=2"}},
        {"WarningReplacesProgress", "frame=1\rWarning: odd\r\n", {"Warning: odd", ""}},
        {"LineAfterProgressLineEnd", "frame=1\r\nnext\r\n", {"frame=1", "next", ""}},
        {"EmptyCrLfLines", "\r\n\r\n", {"", "", ""}},
        {"EmptyBareLines", "a\n\nb\n", {"a", "", "b", ""}},
        {"NoLineEnd", "tail", {"tail"}},
        {"NothingAtAll", "", {""}},
        {"InvalidUtf8", "\xff\xfe ok \xc3\xa9\r\n", {QStringLiteral("\uFFFD\uFFFD ok \u00E9"), ""}},
        {"LongLineSplits", QByteArray(30000, 'x') + "\r\n",
            {QString::fromLatin1(chunk), QString(9520, u'x'), ""}},
        {"LongLineWithBareLf", QByteArray(30000, 'x') + "\n",
            {QString::fromLatin1(chunk), QString(9520, u'x'), ""}},
        {"LineEndingAtSplit", chunk + "\r\nnext\n", {QString::fromLatin1(chunk), "next", ""}},
        {"ProgressAfterSplit", chunk + "p1\rp2\r", {QString::fromLatin1(chunk), ""}},
    };
}
