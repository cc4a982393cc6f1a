// The file list's adding: the queue of adding steps (files, folder walks,
// list files) run in the order they came, and the analyses of added rows.
#include "ui/filelist/FileListPanelPrivate.h"

#include "app/NonUtf8Names.h"
#include "app/ToolResolution.h"
#include "filelist/FileListAdding.h"
#include "filelist/InputFilter.h"
#include "filelist/ListFile.h"
#include "filelist/ListFileSave.h"

#include <QFileInfo>

void FileListPanel::addFiles(const QStringList &paths)
{
    if (!paths.isEmpty())
        Q_EMIT addedFrom(QFileInfo(paths.constLast()).absolutePath());
    d->queue(Private::Step::Files, paths);
    d->runSteps();
}

void FileListPanel::addFolder(const QString &folder)
{
    Q_EMIT addedFrom(folder);
    d->queue(Private::Step::Folder, {folder});
    d->runSteps();
}

void FileListPanel::addPaths(const QStringList &paths)
{
    d->queueDrop(paths);
    d->runSteps();
}

bool FileListPanel::loadListFile(const QString &path, QString *error)
{
    Q_EMIT addedFrom(QFileInfo(path).absolutePath());
    QStringList paths;
    if (!d->readList(path, paths, error))
        return false;
    d->queue(Private::Step::Files, paths, QFileInfo(path).absolutePath());
    d->runSteps();
    return true;
}

bool FileListPanel::saveListFile(const QString &path, QString *error) const
{
    return ::saveListFile(path, listFilePaths(rows()), error);
}

bool FileListPanel::isBusy() const
{
    return d->busy;
}

// ---------------------------------------------------------------------------

std::shared_ptr<const AnalysisSettings> FileListPanel::Private::settings()
{
    if (!analysisSettings) {
        auto made = std::make_shared<AnalysisSettings>();
        made->mode = params.FileAnalysis;
        made->strings = strings;
        // Resolved once per change of the parameters, not per file; on a
        // copy, so the caller's record stays as it gave it.
        TAppParams resolving = params;
        if (made->mode != faNone)
            made->mediaInfoDll = ResolveMediaInfoPath(resolving);
        if (made->mode == faFull)
            made->ffmpeg = ResolveFFmpegPath(resolving);
        analysisSettings = std::move(made);
    }
    return analysisSettings;
}

void FileListPanel::Private::queue(Step::Kind kind, const QStringList &paths, const QString &root)
{
    steps.push_back({kind, paths, root});
}

void FileListPanel::Private::queueDrop(const QStringList &paths)
{
    const auto isDirectory = [](const QString &path) { return QFileInfo(path).isDir(); };
    QString lastFolder;
    for (const DropStep &step : planDrop(paths, params.DragAcceptDirectories, isDirectory)) {
        switch (step.kind) {
        case DropStep::NotUtf8:
            skipped.append(step.path);
            continue;
        case DropStep::LoadList:
            queue(Step::List, {step.path});
            break;
        case DropStep::AddFolder:
            queue(Step::Folder, {step.path});
            break;
        case DropStep::AddFile:
            // Files next to each other are checked in one go.
            if (!steps.empty() && steps.back().kind == Step::Files && steps.back().root.isEmpty())
                steps.back().paths.append(step.path);
            else
                queue(Step::Files, {step.path});
            break;
        }
        lastFolder
            = step.kind == DropStep::AddFolder ? step.path : QFileInfo(step.path).absolutePath();
    }
    if (!lastFolder.isEmpty())
        Q_EMIT q->addedFrom(lastFolder);
}

void FileListPanel::Private::runSteps()
{
    while (!walking && !steps.empty()) {
        const Step step = std::move(steps.front());
        steps.pop_front();
        switch (step.kind) {
        case Step::Files:
            addNow(step.paths, step.root);
            break;
        case Step::List: {
            QStringList paths;
            QString error;
            if (readList(step.paths.value(0), paths, &error))
                addNow(paths, QFileInfo(step.paths.value(0)).absolutePath());
            else
                Q_EMIT q->errorReported(error);
            break;
        }
        case Step::Folder:
            walking = true;
            walkRoot = step.paths.value(0);
            walker->walk(walkRoot);
            break;
        }
    }
    // One message for all the names the adding met, however many: a
    // binary list file holds hundreds.
    if (!walking && steps.empty() && !skipped.isEmpty()) {
        const QString message = NonUtf8NamesMessage(skipped);
        skipped.clear();
        Q_EMIT q->errorReported(message);
    }
    updateBusy();
}

void FileListPanel::Private::addNow(const QStringList &paths, const QString &root)
{
    const FilteredInputs filtered = FilterInputs(model->rows(), paths);
    skipped += filtered.nonUtf8Inputs();
    if (filtered.files.empty())
        return;
    const bool wasEmpty = model->rowCount() == 0;
    const std::vector<uint64_t> ids = model->appendFiles(filtered.files, root);
    // The first files of a list: the information and command-line windows
    // have a file at once.
    if (wasEmpty)
        q->selectFirstRowIfNone();
    forgetSortOrder();
    std::vector<std::pair<uint64_t, QString>> added;
    added.reserve(ids.size());
    for (size_t i = 0; i < ids.size(); ++i)
        added.emplace_back(ids[i], filtered.files[i].path);
    analyse(added);
    scheduleRefresh();
    updateBusy();
    Q_EMIT q->listChanged();
}

void FileListPanel::Private::analyse(const std::vector<std::pair<uint64_t, QString>> &files)
{
    const std::shared_ptr<const AnalysisSettings> shared = settings();
    if (shared->mode == faNone || files.empty())
        return;
    std::vector<AnalysisJob> jobs;
    jobs.reserve(files.size());
    for (const auto &[id, path] : files)
        jobs.push_back({id, path, shared});
    analysis->enqueue(std::move(jobs));
}

bool FileListPanel::Private::readList(const QString &path, QStringList &paths, QString *error)
{
    QStringList lines;
    if (!ReadListFile(path, lines, error))
        return false;
    // Blank lines and names that are not UTF-8 are the adding's to refuse.
    for (const QString &line : std::as_const(lines))
        paths.append(ListFileLinePath(line));
    return true;
}

void FileListPanel::Private::onResults()
{
    for (AnalysisResult &result : analysis->takeResults()) {
        // Removed while it was analysed: filled where an undo finds it.
        if (!model->fill(result.id, result.cells))
            removal.fill(result.id, result.cells);
    }
    filledSinceRefresh = true;
    scheduleRefresh();
    updateBusy();
}

void FileListPanel::Private::onWalkFinished()
{
    walking = false;
    runSteps();
}

void FileListPanel::Private::updateBusy()
{
    const bool now = walking || !steps.empty() || analysis->outstanding() > 0;
    if (now == busy)
        return;
    busy = now;
    Q_EMIT q->busyChanged(now);
}
