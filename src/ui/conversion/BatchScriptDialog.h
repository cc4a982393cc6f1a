#pragma once

#include "i18n/AppStrings.h"

#include <QString>

class QWidget;

// The save dialog of "Save batch script...": a shell script (".sh", the default
// here) or a Windows batch file (".bat"), starting in lastDir, asking before
// it replaces a file. The chosen name with the extension of the chosen type
// when it has none of the two; empty when cancelled.
QString AskBatchScriptFileName(QWidget *parent, const TAppStrings &strings, const QString &lastDir);
