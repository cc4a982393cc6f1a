#pragma once

#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <memory>

// Walks one folder tree at a time off the window's thread (the core's
// walkFolder) and hands the supported files found over in batches, in
// order, on the owner's thread.
class FolderWalker : public QObject
{
    Q_OBJECT
public:
    explicit FolderWalker(QObject *parent = nullptr);
    // Cancels the walk and waits for it.
    ~FolderWalker() override;

    // Starts a walk; one at a time (the caller waits for finished).
    void walk(const QString &folder);
    // Stops the running walk: no batch arrives after this call; finished
    // still follows.
    void cancel();

Q_SIGNALS:
    void filesFound(const QStringList &files);
    // Files the walk found but cannot add: their names are not UTF-8.
    void namesSkipped(const QStringList &names);
    void finished();

private:
    QThreadPool m_pool;
    // Per walk, so a cancelled walk's flag is not reset by the next one.
    std::shared_ptr<std::atomic<bool>> m_cancelled;
};
