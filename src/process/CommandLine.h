#pragma once

#include <QString>
#include <QStringList>

// Splits free-text parameters (the user's own FFmpeg options) into arguments:
// blanks separate, double quotes group and are removed, and "" stands for an
// empty argument. A backslash has no special meaning.
QStringList splitParamText(const QString &text);

// One program to run: its path, the argument vector it receives, and the
// parameter text that previews, error logs and scripts show. Both are built
// from the same pieces so they cannot drift apart; file names go into the
// vector whole, so no character in a name can split it or reach a shell.
class CommandLine
{
public:
    CommandLine() = default;
    explicit CommandLine(const QString &program, const QString &paramText = {});

    const QString &program() const { return m_program; }
    void setProgram(const QString &program) { m_program = program; }

    const QStringList &arguments() const { return m_args; }
    // The parameter text exactly as appended, spaces included.
    const QString &paramText() const { return m_text; }
    // The program, then one space and the parameter text unless that is
    // blank: what a user would type.
    QString commandText() const;

    // Appends free text: shown as it is, split by splitParamText into the
    // vector. Text that directly continues the previous piece (no blank
    // between) continues its last argument, as a reader of the text would
    // take it. Quotes group within one piece only, so an unbalanced quote in
    // user text cannot capture the pieces after it.
    CommandLine &appendText(const QString &piece);
    // Appends a file name: shown in double quotes, passed on unchanged as
    // (part of) one argument.
    CommandLine &appendFileName(const QString &fileName);

private:
    QString m_program;
    QString m_text;
    QStringList m_args;
    // The text ends inside an argument, so a piece without a leading blank
    // continues it.
    bool m_wordOpen = false;
};
