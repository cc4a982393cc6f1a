#include "ui/filelist/FolderWalker.h"

#include "filelist/FileListAdding.h"

namespace {

// Rows show up at once, and a large tree does not make one huge insert.
constexpr int BatchSize = 100;

} // namespace

FolderWalker::FolderWalker(QObject *parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

FolderWalker::~FolderWalker()
{
    cancel();
    m_pool.waitForDone();
}

void FolderWalker::walk(const QString &folder)
{
    m_cancelled = std::make_shared<std::atomic<bool>>(false);
    m_pool.start([this, folder, cancelled = m_cancelled] {
        // Checked again on arrival: a batch on its way when the walk is
        // cancelled is dropped.
        const auto handOver
            = [this, &cancelled](void (FolderWalker::*signal)(const QStringList &)) {
                  return [this, &cancelled, signal](const QStringList &files) {
                      QMetaObject::invokeMethod(
                          this,
                          [this, files, cancelled, signal] {
                              if (!cancelled->load())
                                  Q_EMIT(this->*signal)(files);
                          },
                          Qt::QueuedConnection);
                  };
              };
        walkFolder(folder, handOver(&FolderWalker::filesFound), cancelled.get(), BatchSize,
            handOver(&FolderWalker::namesSkipped));
        QMetaObject::invokeMethod(this, &FolderWalker::finished, Qt::QueuedConnection);
    });
}

void FolderWalker::cancel()
{
    if (m_cancelled)
        m_cancelled->store(true);
}
