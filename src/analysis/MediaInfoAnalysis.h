#pragma once

#include "analysis/VideoFileInfo.h"

#include <QString>

// Fills info with what the MediaInfo library (loaded from mediaInfoDll at the
// first analysis) reports about fileName. Never clears the record: fields for
// which the library has no usable value keep what they held. A missing
// library, a missing or empty file or a file the library cannot open leaves
// the record untouched.
void ReadMediaInfo(const QString &fileName, const QString &mediaInfoDll, TVideoFileInfo &info);
