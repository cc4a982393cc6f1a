#pragma once

#include "support/TestSupport.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// quillon-cli started with its arguments and working folder as bytes, so
// that names which are not UTF-8 reach it unchanged (QProcess would
// re-encode them), and with a standard output that fails.
namespace RawCli {

enum class Output {
    Captured,
    DevFull, // every write fails with ENOSPC
    ClosedPipe, // the reading end is closed and SIGPIPE ignored: EPIPE
};

TestSupport::CliRun Run(const QList<QByteArray> &args, const QByteArray &workDir = {},
    Output output = Output::Captured);

// Creates a file at the path given as bytes.
bool Touch(const QByteArray &path, const QByteArray &content = "x");

} // namespace RawCli
