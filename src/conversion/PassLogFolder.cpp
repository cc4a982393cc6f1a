#include "conversion/PassLogFolder.h"

#include "encoding/OutputName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// FFmpeg's two-pass statistics files, as the encoders name them.
constexpr const char *PassLogNames[]
    = {"ffmpeg2pass-0.log", "x264_2pass.log.temp", "x264_2pass.log.mbtree.temp", "x264_2pass.log",
        "x264_2pass.log.mbtree", "ffmpeg2pass-0.log.mbtree", "xvidff.iG2Kb7"};

} // namespace

bool PassLogFolder::ensure(QString &dir)
{
    if (dir.isEmpty())
        return false;
    const QFileInfo info(dir);
    if (dir == m_made && info.isDir() && !info.isSymLink())
        return true;
    // The name is predictable: a folder that is already there (another run
    // started in the same millisecond, or a planted one) is not ours, and
    // the statistics files must not be written or deleted in it.
    const QString base = m_made.isEmpty() ? dir : m_made;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = attempt == 0 ? base : base + u'_' + QString::number(attempt);
        const QFileInfo taken(candidate);
        if (taken.exists() || taken.isSymLink())
            continue;
        if (!QDir().mkpath(candidate))
            break;
        QFile::setPermissions(
            candidate, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        dir = candidate;
        m_made = candidate;
        return true;
    }
    dir.clear();
    return false;
}

QString PassLogFolder::fileFolder(int fileNo)
{
    if (m_made.isEmpty())
        return {};
    // Inside the run's private folder nobody else can have made it.
    const QString folder = m_made + u'/' + QString::number(fileNo);
    if (!QDir().mkdir(folder))
        return {};
    m_fileFolders << folder;
    return folder;
}

void PassLogFolder::clear()
{
    // Only the run's own folders: without one, FFmpeg ran in the program
    // folder, where files are not deleted by name.
    if (m_made.isEmpty())
        return;
    m_fileFolders << m_made;
    for (const QString &folder : std::as_const(m_fileFolders)) {
        for (const char *name : PassLogNames) {
            const QString path = folder + u'/' + QLatin1String(name);
            if (PathEntryExists(path))
                RemoveFileEvenReadOnly(path);
        }
        if (QFileInfo(folder).isDir())
            QDir().rmdir(folder);
    }
    m_fileFolders.clear();
    m_made.clear();
}
