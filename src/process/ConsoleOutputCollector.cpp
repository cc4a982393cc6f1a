#include "process/ConsoleOutputCollector.h"

#include <utility>

ConsoleOutputCollector::ConsoleOutputCollector(QStringList *output, FlushHook hook)
    : m_output(output)
    , m_hook(std::move(hook))
{ }

void ConsoleOutputCollector::feed(const char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        const char byte = data[i];
        if (byte == '\n') {
            // After a CR the line is already flushed. A bare LF (the line end
            // of every program on this platform) ends the line as well;
            // otherwise all LF-terminated lines would run together.
            if (!m_afterCr && !m_afterSplit)
                flush(false);
            m_newLine = true;
            m_afterCr = false;
            m_afterSplit = false;
        } else if (byte == '\r') {
            if (!m_afterSplit)
                flush(false);
            m_afterCr = true;
        } else {
            m_afterCr = false;
            m_afterSplit = false;
            m_line[m_length++] = byte;
            if (m_length == MaxLineBytes) {
                m_newLine = true;
                flush(false);
                // The rest of the long line must not overwrite the part just
                // flushed, so it starts an entry of its own; a line that ends
                // right at the split adds no empty entry.
                m_newLine = true;
                m_afterSplit = true;
            }
        }
    }
}

void ConsoleOutputCollector::finish()
{
    flush(true);
}

void ConsoleOutputCollector::flush(bool isLast)
{
    ConsoleFlush flushed;
    flushed.text = QString::fromUtf8(m_line.data(), m_length);
    flushed.isLast = isLast;
    // Someone may have emptied the list meanwhile; then there is nothing to
    // replace and the text becomes the only entry.
    flushed.appended = m_newLine || (m_output && m_output->isEmpty());
    if (m_output && !m_full) {
        if (m_output->isEmpty())
            m_keptBytes = 0;
        const qsizetype kept
            = m_keptBytes - (flushed.appended ? 0 : m_lastEntryBytes) + qsizetype(m_length);
        if (m_maxKeptBytes > 0 && kept > m_maxKeptBytes) {
            m_full = true;
        } else {
            if (flushed.appended)
                m_output->append(flushed.text);
            else
                m_output->last() = flushed.text;
            m_keptBytes = kept;
            m_lastEntryBytes = m_length;
        }
    }
    m_newLine = false;
    m_length = 0;
    if (m_hook)
        m_hook(flushed);
}
