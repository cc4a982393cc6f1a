#pragma once

#include <QHash>
#include <QString>

struct EncodingLists;
struct EncodingSettings;
struct TAppStrings;
struct TVideoFileInfo;

// Every setting whose typed value the commands for this file could not
// use, by control name ("cbAviVideoBitrate"), with the message a run would
// show for it. Empty when every value can be used.
QHash<QString, QString> FindInvalidSettings(const EncodingSettings &settings,
    const EncodingLists &lists, const TAppStrings &strings, const TVideoFileInfo &info);
