#pragma once

#include <QStringList>

class TFormMain;

// Where a later start of Quillon reaches the running window (see
// SingleInstance): paths are absolute; an empty list only raises the window.
void openFilesInWindow(TFormMain &window, const QStringList &paths);
