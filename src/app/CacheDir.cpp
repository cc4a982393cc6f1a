#include "app/CacheDir.h"

#include <QDir>

QString UserCacheDir()
{
    // A relative XDG_CACHE_HOME is invalid and to be ignored.
    const QString xdg = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg + QStringLiteral("/quillon"));
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty() && QDir::isAbsolutePath(home))
        return QDir::cleanPath(home + QStringLiteral("/.cache/quillon"));
    return {};
}
