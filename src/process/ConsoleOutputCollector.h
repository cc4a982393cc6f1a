#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

// What one flush of console output did to the output list.
struct ConsoleFlush
{
    QString text;
    // True when the text became a new last entry; false when it replaced the
    // last entry (a carriage return rewinds the console line).
    bool appended = false;
    // The flush made when the stream has ended (it may carry empty text).
    bool isLast = false;
};

// Called once per flush, on the thread that runs the console program. A
// consumer that mirrors the output list only needs to append or replace one
// entry, so its work per line stays constant.
using FlushHook = std::function<void(const ConsoleFlush &)>;

// Turns a console byte stream into lines the way a console shows them: a
// carriage return rewrites the current line, a line feed starts a new one.
// Bytes are decoded as UTF-8 per line.
class ConsoleOutputCollector
{
public:
    static constexpr int MaxLineBytes = 20480;

    // output may be null; entries already in it are kept.
    ConsoleOutputCollector(QStringList *output, FlushHook hook);

    // Once the entries this collector wrote would hold more than maxBytes
    // bytes of line text, output no longer changes: what it holds is exactly
    // what it held at that point of the stream. The hook still sees every
    // flush. 0: no limit.
    void setMaxKeptBytes(qsizetype maxBytes) { m_maxKeptBytes = maxBytes; }

    void feed(const char *data, qsizetype size);
    // The final flush after the end of the stream, made even when nothing is
    // collected.
    void finish();

private:
    void flush(bool isLast);

    QStringList *m_output;
    FlushHook m_hook;
    std::array<char, MaxLineBytes> m_line{};
    int m_length = 0;
    bool m_newLine = true;
    bool m_afterCr = false;
    // A long line was just split and nothing has been collected since.
    bool m_afterSplit = false;
    qsizetype m_maxKeptBytes = 0;
    qsizetype m_keptBytes = 0;
    qsizetype m_lastEntryBytes = 0;
    bool m_full = false;
};
