#include "encoding/OutputSpace.h"

#include "encoding/OutputName.h"
#include "filelist/FileListRow.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <sys/statvfs.h>

OutputVolume StorageVolumeOf(const QString &folder)
{
    OutputVolume volume;
    struct statvfs fs;
    if (::statvfs(QFile::encodeName(folder).constData(), &fs) == 0)
        volume.available = int64_t(fs.f_bavail) * int64_t(fs.f_frsize);
    const QStorageInfo storage(folder);
    volume.root = storage.isValid() ? storage.rootPath() : folder;
    return volume;
}

QString ExistingFolderOf(const QString &folder)
{
    QString existing = folder;
    while (!QFileInfo(existing).isDir() && existing.size() > 1)
        existing = QFileInfo(existing).absolutePath();
    return existing;
}

std::vector<VolumeNeed> OutputSpaceNeeds(
    const std::vector<std::pair<QString, int64_t>> &outputs, const VolumeOf &volumeOf)
{
    std::vector<VolumeNeed> needs;
    // Many outputs share a folder: one look per run of them.
    QString lastFolder;
    size_t lastNeed = 0;
    for (const auto &[folder, bytes] : outputs) {
        // An output folder not set has no file system to count on.
        if (folder.isEmpty())
            continue;
        if (needs.empty() || folder != lastFolder) {
            const OutputVolume volume = volumeOf(ExistingFolderOf(folder));
            const auto same = std::find_if(needs.begin(), needs.end(),
                [&](const VolumeNeed &need) { return need.volume.root == volume.root; });
            lastNeed = size_t(same - needs.begin());
            if (same == needs.end())
                needs.push_back({volume, 0});
            lastFolder = folder;
        }
        needs[lastNeed].needed += bytes;
    }
    return needs;
}

std::vector<VolumeNeed> CheckedRowsSpace(
    const std::vector<FileListRow> &rows, const EncodingSettings &s, const VolumeOf &volumeOf)
{
    std::vector<std::pair<QString, int64_t>> outputs;
    for (const FileListRow &row : rows) {
        if (row.active)
            outputs.emplace_back(OutputFolderOf(s, fullFileName(row), row.treeRoot),
                std::max<int64_t>(row.expectedSize, 0));
    }
    return OutputSpaceNeeds(outputs, volumeOf);
}
