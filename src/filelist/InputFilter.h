#pragma once

#include <QString>
#include <QStringList>

// The inputs the list accepts, as the list filters them: a supported
// extension, an existing file (made absolute), not already taken (the same
// file under another name counts). Each input left out adds a note for
// standard error; empty list-file lines are left out silently. A name that
// is not valid UTF-8 (see app/NonUtf8Names.h) is left out too and counted
// in *nonUtf8Count: unlike the others, it names a file that may well exist.
QStringList FilterInputFiles(
    const QStringList &inputs, QStringList *notes, int *nonUtf8Count = nullptr);
