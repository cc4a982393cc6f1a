#include "encoding/OutputSpace.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

OutputVolume StorageVolumeOf(const QString &folder)
{
    const QStorageInfo storage(folder);
    return {storage.rootPath(), storage.bytesAvailable()};
}

QString ExistingFolderOf(const QString &outputPath)
{
    QString folder = QFileInfo(outputPath).absolutePath();
    while (!QFileInfo(folder).isDir() && folder.size() > 1)
        folder = QFileInfo(folder).absolutePath();
    return folder;
}

std::vector<VolumeNeed> OutputSpaceNeeds(
    const std::vector<std::pair<QString, int64_t>> &outputs, const VolumeOf &volumeOf)
{
    std::vector<VolumeNeed> needs;
    // Many outputs share a folder: one look per folder.
    QString lastFolder;
    size_t lastNeed = 0;
    for (const auto &[path, bytes] : outputs) {
        const QString folder = ExistingFolderOf(path);
        if (needs.empty() || folder != lastFolder) {
            const OutputVolume volume = volumeOf(folder);
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
