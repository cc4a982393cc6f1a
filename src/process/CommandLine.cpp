#include "process/CommandLine.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

struct SplitPiece
{
    QStringList words;
    bool startsInWord = false;
    bool endsInWord = false;
};

SplitPiece splitPiece(const QString &text)
{
    SplitPiece result;
    result.startsInWord = !text.isEmpty() && !isBlank(text.front());
    QString current;
    bool inWord = false;
    bool inQuotes = false;
    for (const QChar c : text) {
        if (c == u'"') {
            // A quote starts a word even when nothing follows it: "" is an
            // empty argument.
            inQuotes = !inQuotes;
            inWord = true;
        } else if (!inQuotes && isBlank(c)) {
            if (inWord) {
                result.words.append(current);
                current.clear();
                inWord = false;
            }
        } else {
            current.append(c);
            inWord = true;
        }
    }
    if (inWord)
        result.words.append(current);
    result.endsInWord = inWord;
    return result;
}

} // namespace

QStringList splitParamText(const QString &text)
{
    return splitPiece(text).words;
}

CommandLine::CommandLine(const QString &program, const QString &paramText)
    : m_program(program)
{
    appendText(paramText);
}

QString CommandLine::commandText() const
{
    if (m_text.trimmed().isEmpty())
        return m_program;
    return m_program + u' ' + m_text;
}

CommandLine &CommandLine::appendText(const QString &piece)
{
    if (piece.isEmpty())
        return *this;
    m_text += piece;
    const SplitPiece split = splitPiece(piece);
    qsizetype first = 0;
    if (m_wordOpen && split.startsInWord) {
        m_args.last() += split.words.front();
        first = 1;
    }
    for (qsizetype i = first; i < split.words.size(); ++i)
        m_args.append(split.words.at(i));
    m_wordOpen = split.endsInWord;
    return *this;
}

CommandLine &CommandLine::appendFileName(const QString &fileName)
{
    m_text += u'"' + fileName + u'"';
    if (m_wordOpen)
        m_args.last() += fileName;
    else
        m_args.append(fileName);
    m_wordOpen = true;
    return *this;
}
