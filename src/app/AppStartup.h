#pragma once

#include "app/AppParams.h"
#include "app/ToolResolution.h"

#include <QDateTime>
#include <QString>

// Start-up shared by both front ends: the defaults for programDir, both
// tools resolved, then, when quillon.ini exists, its read-only tool keys.
// The one-argument form also makes the layout's work folder the runner's
// default (SetDefaultWorkDir) and searches the shared tools only for the
// portable layout.
TAppParams InitAppParams(const QString &programDir);
TAppParams InitAppParams(const QString &programDir, const ToolLookup &lookup);

// The language-detection indicator: true (detect the system language) when
// there is no settings file, else key Left of MAIN read as a Boolean with
// default true.
bool CheckIniFile(const TAppParams &params);

// A new per-conversion working folder name (the folder is not created):
// <temp>/Orvane_Quillon_2024-03-07@09_05_01.042 in local time.
QString TempWorkDirName();
QString TempWorkDirName(const QString &tempDir, const QDateTime &now);

// The folder the add-files, add-folder, script and list dialogs open in.
void UpdateInitialFolders(const QString &dir);
QString InitialFolder();

// Creates the profiles folder (with its parents) when it does not exist; a failure
// is not an error (profiles then cannot be saved, nothing else changes).
bool EnsureProfilesDir(const TAppParams &params);
