#pragma once

#include "app/AppParams.h"
#include "app/ToolResolution.h"

class IniFile;

// The hand-added keys of section MAIN that the program reads but never
// writes, in the order the settings reader applies them: EscExit,
// MediaInfoDll, ToolsDir, ffmpeg, WebSite. A tool key naming no usable file
// runs that tool's lookup again; its result (possibly empty) is kept.
// Relative paths are taken against the current folder.
void ApplyToolKeys(TAppParams &params, const IniFile &ini);
void ApplyToolKeys(TAppParams &params, const IniFile &ini, const ToolLookup &lookup);
