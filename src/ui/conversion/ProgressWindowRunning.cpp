// The progress window's part for runs that convert several files at once.
#include "ui/conversion/ProgressWindow.h"

#include "conversion/ConversionFrontEnd.h"
#include "i18n/AppStrings.h"
#include "ui/common/Theme.h"
#include "ui/conversion/MarkupLabel.h"
#include "ui/conversion/RunningFilesFeed.h"
#include "ui/conversion/RunningFilesView.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>

void TFormProgress::createRunningFiles()
{
    m_lblRunningFiles = new QLabel(this);
    m_tvRunningFiles = new RunningFilesView(this);
    m_lblRunningFiles->setBuddy(m_tvRunningFiles);
    m_lblFilesDone = new QLabel(this);
    m_lblFilesDone->setObjectName(QStringLiteral("lblFilesDone"));
    m_lblFilesDone->setTextFormat(Qt::PlainText);
    for (QWidget *w :
        std::initializer_list<QWidget *>{m_lblRunningFiles, m_tvRunningFiles, m_lblFilesDone})
        w->setVisible(false);
    // In reading order: after the output view, before the bar and buttons.
    setTabOrder(m_me, m_tvRunningFiles);
    connect(m_tvRunningFiles, &RunningFilesView::chosenByUser, this, &TFormProgress::chooseFile);
}

void TFormProgress::startRunningFiles(const ConversionWalkStart &start)
{
    m_jobs = start.BatchOnly ? 1 : start.Jobs;
    m_fileCount = start.FileCount;
    m_filesDone = 0;
    m_chosenFileNo = 0;
    m_wantsWholeView = false;
    m_lastBatchBar = -1;
    m_tvRunningFiles->files().clear();
    m_pbFile->setPalette(QPalette());
    const bool several = m_jobs > 1;
    m_lblRunningFiles->setVisible(several);
    m_tvRunningFiles->setVisible(several);
    m_lblFilesDone->setVisible(several);
    showFilesDone();
}

void TFormProgress::runningFileStarted(const ConversionFileView &file)
{
    RunningFilesModel::Row row;
    row.fileNo = file.FileNo;
    row.inputFile = file.InputFile;
    row.outputMarkup = file.OutputMarkup;
    row.startStatus = file.StatusText;
    m_tvRunningFiles->addFile(row);
    if (m_chosenFileNo == 0)
        chooseFile(file.FileNo);
}

void TFormProgress::runningFileEnded(int fileNo)
{
    ++m_filesDone;
    showFilesDone();
    m_tvRunningFiles->removeFile(fileNo);
}

void TFormProgress::runningFileFinished(const ConversionFileEnd &end)
{
    runningFileEnded(end.FileNo);
    if (end.FileNo != m_chosenFileNo)
        return;
    // The view's file ends: its outcome shows until the next oldest running
    // file takes the view, or for good when none runs.
    m_lblStatus->setMarkup(end.StatusMarkup);
    m_lblStatus->setTextColor(ColorFromBgr(end.Succeeded ? m_colorOK : m_colorError));
    const RunningFilesModel &files = m_tvRunningFiles->files();
    if (files.count() > 0) {
        chooseFile(files.row(0).fileNo);
    } else {
        m_chosenFileNo = 0;
        m_fileLeftMs = -1;
    }
}

void TFormProgress::chooseFile(int fileNo)
{
    const RunningFilesModel &files = m_tvRunningFiles->files();
    const int at = files.rowOf(fileNo);
    if (at < 0 || fileNo == m_chosenFileNo)
        return;
    m_chosenFileNo = fileNo;
    m_tvRunningFiles->showChosen(fileNo);
    const RunningFilesModel::Row &row = files.row(at);
    m_lblInputFile->setText(row.inputFile);
    m_lblOutputFile->setMarkup(row.outputMarkup);
    if (row.statusMarkup.isEmpty())
        m_lblStatus->setPlain(row.startStatus);
    else
        m_lblStatus->setMarkup(row.statusMarkup);
    m_lblStatus->setTextColor({});
    m_fileLeftMs = row.timeLeftMs;
    // Nothing of the previous file's view stays; the new one comes whole.
    m_lines.clear();
    m_docLines = m_docCount = 0;
    m_me->clear();
    m_wantsWholeView = true;
    Q_EMIT chosenFileChanged(fileNo);
}

void TFormProgress::applyRunningFiles(const RunningFilesTake &take)
{
    if (take.batchChanged) {
        if (take.batch.percentage != m_lastBatchBar) {
            m_lastBatchBar = take.batch.percentage;
            m_pbFile->setValue(take.batch.percentage);
        }
        if (!take.batch.windowCaption.isEmpty() && take.batch.windowCaption != m_windowCaption) {
            m_windowCaption = take.batch.windowCaption;
            updateCaption();
        }
        m_batchLeftMs = take.batch.timeLeftMs;
    }
    RunningFilesModel &files = m_tvRunningFiles->files();
    for (const RunningFileState &state : take.files) {
        files.update(state);
        if (state.fileNo != m_chosenFileNo)
            continue;
        m_fileLeftMs = state.timeLeftMs;
        if (!state.statusMarkup.isEmpty() && state.statusMarkup != m_lblStatus->markup())
            m_lblStatus->setMarkup(state.statusMarkup);
    }
    if (take.viewFileNo == 0 || take.viewFileNo != m_chosenFileNo)
        return;
    if (m_wantsWholeView && take.view.viewReset) {
        m_wantsWholeView = false;
        m_viewShowsLines = take.view.viewShowsOutput;
        if (!m_viewShowsLines) {
            m_lines = take.view.appendLines;
            m_me->setPlainText(m_strings.Main.PleaseWait);
            return;
        }
        // The new file's view comes as a run's view grows: whole at once
        // when short, a chunk per repaint when long (a chatty FFmpeg's tens
        // of thousands of lines in one go stalled the window for 0.2 s).
    }
    applyView(take.view);
}

void TFormProgress::endRunningFiles()
{
    // No file runs after the run (an aborted file may not have said so);
    // the view keeps the last file's lines.
    m_tvRunningFiles->files().clear();
    m_chosenFileNo = 0;
    m_wantsWholeView = false;
}

void TFormProgress::showFilesDone()
{
    m_lblFilesDone->setText(FormatAppString(
        m_strings.Progress.FilesDone, QString::number(m_filesDone), QString::number(m_fileCount)));
}

QString TFormProgress::filesDoneText() const
{
    return m_lblFilesDone->isVisible() || m_jobs > 1 ? m_lblFilesDone->text() : QString();
}
