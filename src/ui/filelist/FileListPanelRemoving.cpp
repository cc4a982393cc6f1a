// The file list's removing commands and the undo of the last one.
#include "ui/filelist/FileListPanelPrivate.h"

void FileListPanel::removeChecked()
{
    RowSelection checked;
    for (size_t i = 0; i < rows().size(); ++i)
        if (rows()[i].active)
            checked.insert(int(i));
    d->remove(checked);
}

void FileListPanel::clear()
{
    // The user wants an empty list: adding still under way stops too.
    d->steps.clear();
    if (d->walking)
        d->walker->cancel();
    d->keepRemoved(d->model->clearRows());
    d->forgetSortOrder();
    d->updateBusy();
}

void FileListPanel::removeSelected()
{
    d->remove(d->selectedRows());
}

bool FileListPanel::canUndoRemove() const
{
    return d->removal.canUndo();
}

void FileListPanel::undoRemove()
{
    d->undoRemove();
}

// ---------------------------------------------------------------------------

void FileListPanel::Private::remove(const RowSelection &indexes)
{
    keepRemoved(model->removeRowsAt(indexes));
}

void FileListPanel::Private::keepRemoved(std::vector<RemovedRow> rows)
{
    if (rows.empty())
        return;
    std::set<uint64_t> ids;
    for (const RemovedRow &row : rows)
        ids.insert(row.second.id);
    std::set<uint64_t> unanalysed;
    for (const AnalysisJob &job : analysis->cancel(ids))
        unanalysed.insert(job.id);
    removal.keep(std::move(rows), std::move(unanalysed));
    scheduleRefresh();
    updateBusy();
    Q_EMIT q->listChanged();
}

void FileListPanel::Private::undoRemove()
{
    if (!removal.canUndo())
        return;
    RemovalHistory::Undo undo = removal.takeUndo(model->rows());
    model->restoreRows(std::move(undo.rows));
    analyse(undo.toAnalyse);
    forgetSortOrder();
    scheduleRefresh();
    updateBusy();
    Q_EMIT q->listChanged();
}
