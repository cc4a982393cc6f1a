#pragma once

#include <QString>
#include <QStringList>

struct TAppStrings;

// The 78 media extensions the list accepts, upper case, without the dot,
// in table order.
const QStringList &SupportedExtensions();

// Whether the extension of path's file name (from its last ".") is in the
// table, compared without regard to case. "movie.mkv.part" and a name
// without extension are not supported.
bool IsSupportedFile(const QString &path);

// The file-open dialog's filter: Main.dlgOpen_Filter1 with "*.mkv", then
// Main.dlgOpen_Filter2 with every extension in lower case.
QString OpenDialogFilter(const TAppStrings &strings);
