#pragma once

#include "app/AppParams.h"
#include "encoding/EncodingSettings.h"
#include "i18n/AppStrings.h"

#include <QString>

// What the window starts from, decided before it has a control: the
// layout's parameters, the language, the profiles folder and the encoding
// settings of the last session.
struct SessionStart
{
    TAppParams params;
    TAppStrings strings;
    EncodingSettings settings;
    // Set when the settings file exists but could not be read: its values
    // are the defaults then, and the file is left as it is.
    QString settingsError;
    // Whether the settings file holds the main window's size.
    bool sizeStored = false;
};

// The start of a session in programDir: the parameters (InitAppParams); the
// language, on a first run the one of primaryLanguageId, else the settings
// file's; the profiles folder created; the add dialogs' first folder; the
// built-in encoding settings (defaultVideoCodec) with the last-session
// profile over them.
SessionStart StartSession(const QString &programDir, int primaryLanguageId, int defaultVideoCodec);
