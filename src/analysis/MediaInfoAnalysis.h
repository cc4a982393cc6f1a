#pragma once

#include "analysis/VideoFileInfo.h"

#include <QString>
#include <memory>

class MediaInfoHandle;

// Fills info with what the MediaInfo library (loaded from mediaInfoDll at the
// first analysis) reports about fileName. Never clears the record: fields for
// which the library has no usable value keep what they held. A missing
// library, a missing or empty file or a file the library cannot open leaves
// the record untouched.
void ReadMediaInfo(const QString &fileName, const QString &mediaInfoDll, TVideoFileInfo &info);

// ReadMediaInfo in two steps, so that the slow one can run beside other
// work: OpenMediaInfo loads the library and lets it open and parse the
// file (null when ReadMediaInfo would leave the record untouched);
// ReadMediaInfo then fills info from that handle (null: nothing changes).
std::unique_ptr<MediaInfoHandle> OpenMediaInfo(
    const QString &fileName, const QString &mediaInfoDll);
void ReadMediaInfo(const MediaInfoHandle *handle, TVideoFileInfo &info);
