#include "ui/filelist/FolderWalker.h"

#include "filelist/FileListAdding.h"

namespace {

// Rows show up at once, and a large tree does not make one huge insert.
constexpr int BatchSize = 100;

} // namespace

FolderWalker::FolderWalker(QObject *parent)
    : QObject(parent)
{ }

void FolderWalker::walk(const QString &folder)
{
    m_jobs.run(
        WalkJob,
        [this, folder](BackgroundJob &job) {
            // A batch on its way when the walk is cancelled is dropped.
            const auto handOver = [this, &job](void (FolderWalker::*signal)(const QStringList &)) {
                return [this, &job, signal](const QStringList &files) {
                    job.post([this, files, signal] { Q_EMIT(this->*signal)(files); });
                };
            };
            walkFolder(folder, handOver(&FolderWalker::filesFound), job.stopFlag(), BatchSize,
                handOver(&FolderWalker::namesSkipped));
        },
        [this] { Q_EMIT finished(); });
}

void FolderWalker::cancel()
{
    m_jobs.stop(WalkJob);
}
