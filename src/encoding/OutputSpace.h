#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

// Where an output's bytes are taken from: the file system of its folder (or
// of the nearest existing parent, for a folder a run has still to make).
struct OutputVolume
{
    QString root; // the file system's mount point
    int64_t available = -1; // bytes free for this user; -1 when unknown
};
using VolumeOf = std::function<OutputVolume(const QString &folder)>;

// The real file systems: the free bytes as statvfs tells them, the mount
// point as QStorageInfo finds it (the folder itself where it cannot, as in
// a chroot whose mount table names other paths).
OutputVolume StorageVolumeOf(const QString &folder);

// folder itself when it exists, else its nearest existing parent.
QString ExistingFolderOf(const QString &folder);

// What the outputs of a batch take from each file system they go to.
struct VolumeNeed
{
    OutputVolume volume;
    int64_t needed = 0;
    // Space that cannot be told is not held against the outputs.
    bool fits() const { return volume.available < 0 || needed <= volume.available; }
};

// outputs: each output's folder with its expected bytes. One entry per
// file system, in the order first met.
std::vector<VolumeNeed> OutputSpaceNeeds(
    const std::vector<std::pair<QString, int64_t>> &outputs, const VolumeOf &volumeOf);

struct EncodingSettings;
struct FileListRow;

// The checked rows' expected sizes against the free space of the folders s
// sends them to (rows of unknown size count nothing).
std::vector<VolumeNeed> CheckedRowsSpace(
    const std::vector<FileListRow> &rows, const EncodingSettings &s, const VolumeOf &volumeOf);
