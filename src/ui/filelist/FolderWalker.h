#pragma once

#include "ui/common/BackgroundJobs.h"

#include <QObject>
#include <QStringList>

// Walks one folder tree at a time off the window's thread (the core's
// walkFolder) and hands the supported files found over in batches, in
// order, on the owner's thread. Destroying it cancels the walk and waits
// for it.
class FolderWalker : public QObject
{
    Q_OBJECT
public:
    explicit FolderWalker(QObject *parent = nullptr);

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
    static constexpr BackgroundJobs::Kind WalkJob = 0;
    // One thread: walks run one after the other.
    BackgroundJobs m_jobs{1};
};
