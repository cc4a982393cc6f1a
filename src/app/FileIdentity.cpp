#include "app/FileIdentity.h"

#include <QFile>
#include <sys/stat.h>

std::optional<FileFacts> fileFactsOf(const QString &path)
{
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    FileFacts facts;
    facts.identity = {uint64_t(info.st_dev), uint64_t(info.st_ino)};
    facts.isFile = S_ISREG(info.st_mode);
    facts.isDirectory = S_ISDIR(info.st_mode);
    facts.size = int64_t(info.st_size);
    return facts;
}

std::optional<FileIdentity> fileIdentityOf(const QString &path)
{
    const std::optional<FileFacts> facts = fileFactsOf(path);
    return facts ? std::optional<FileIdentity>(facts->identity) : std::nullopt;
}
