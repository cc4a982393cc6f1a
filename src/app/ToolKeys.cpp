#include "app/ToolKeys.h"

#include "app/IniFile.h"
#include "app/ProgramDir.h"

#include <QFileInfo>

namespace {

bool isFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace

void ApplyToolKeys(TAppParams &params, const IniFile &ini)
{
    ApplyToolKeys(params, ini, DefaultToolLookup());
}

void ApplyToolKeys(TAppParams &params, const IniFile &ini, const ToolLookup &lookup)
{
    const QString section = QStringLiteral("MAIN");

    params.EscExit = ini.readBool(section, QStringLiteral("EscExit"), false);

    params.MediaInfoDll = ExpandFullPath(
        ini.readString(section, QStringLiteral("MediaInfoDll"), params.MediaInfoDll));
    if (!isFile(params.MediaInfoDll))
        ResolveMediaInfoPath(params, lookup);

    const QString toolsDir
        = ExpandFullPath(ini.readString(section, QStringLiteral("ToolsDir"), params.ToolsDir));
    if (!toolsDir.isEmpty() && QFileInfo(toolsDir).isDir())
        params.ToolsDir = NormalizeDirPath(toolsDir);

    // A key naming no file runs the lookup. A bare "ffmpeg" in the current
    // folder is not tried first: on Linux that would run whatever program of
    // that name sits in the folder Quillon was started from.
    const QString ffmpeg = ini.readString(section, QStringLiteral("ffmpeg"), params.ffmpeg);
    if (isFile(ffmpeg)) {
        params.ffmpeg = ExpandFullPath(ffmpeg);
    } else {
        params.ffmpeg.clear();
        ResolveFFmpegPath(params, lookup);
    }

    params.WebSite = ini.readString(section, QStringLiteral("WebSite"), params.WebSite);
}
