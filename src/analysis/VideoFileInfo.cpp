#include "analysis/VideoFileInfo.h"

void ClearVideoFileInfo(TVideoFileInfo &info)
{
    info = TVideoFileInfo{};
}

QString LimitFileName(const QString &path)
{
    if (path.size() <= MaxFileNameLength)
        return path;
    qsizetype length = MaxFileNameLength;
    if (path.at(length - 1).isHighSurrogate())
        --length;
    return path.left(length);
}

void SetFileName(TVideoFileInfo &info, const QString &path)
{
    info.FileName = LimitFileName(path);
}
