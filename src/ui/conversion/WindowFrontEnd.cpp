#include "ui/conversion/WindowFrontEnd.h"

#include "conversion/ProgressFeed.h"

namespace {

QStringList linesOf(const QString &text)
{
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

} // namespace

WindowFrontEnd::WindowFrontEnd(ProgressFeed &feed)
    : m_feed(feed)
{ }

void WindowFrontEnd::warning(const QString &text)
{
    Q_EMIT warned(text);
}

void WindowFrontEnd::walkStarted(const ConversionWalkStart &start)
{
    m_jobs = start.BatchOnly ? 1 : start.Jobs;
    Q_EMIT walkBegan(start);
}

void WindowFrontEnd::fileStarted(const ConversionFileView &file)
{
    if (m_jobs > 1)
        m_running.addFile(file.FileNo);
    else
        m_feed.resetView();
    Q_EMIT fileBegan(file);
}

void WindowFrontEnd::fileSkipped(const ConversionFileView &file)
{
    Q_EMIT fileWasSkipped(file);
}

void WindowFrontEnd::rowStatusChanged(int row, const QString &status)
{
    Q_EMIT rowStatus(row, status);
}

void WindowFrontEnd::progress(const EncoderProgressUpdate &update)
{
    // No signal per line: the window takes the latest state at its pace.
    if (m_jobs > 1)
        m_running.push(update);
    else
        m_feed.push(update);
}

void WindowFrontEnd::outputShown(const QString &text)
{
    // With several files at once it comes just before the failed file's
    // end, which tells whose it is.
    if (m_jobs > 1)
        m_failedOutput = linesOf(text);
    else
        m_feed.resetView(linesOf(text));
}

void WindowFrontEnd::errorLogged(const QStringList &lines, int errorCount)
{
    Q_EMIT errorEntry(lines, errorCount);
}

void WindowFrontEnd::fileFinished(const ConversionFileEnd &end)
{
    if (m_failedOutput) {
        m_running.resetView(end.FileNo, *m_failedOutput);
        m_failedOutput.reset();
    }
    Q_EMIT fileEnded(end);
}

void WindowFrontEnd::runFinished(const ConversionRunEnd &end)
{
    m_feed.resetView(linesOf(end.OutputText));
    Q_EMIT runEnded(end);
}

bool WindowFrontEnd::askYesNo(const QString &question)
{
    return ask(PendingQuestion::YesNo, question);
}

void WindowFrontEnd::showError(const QString &text)
{
    Q_EMIT failed(text);
}

void WindowFrontEnd::showErrorLog(const QString &caption, bool show)
{
    Q_EMIT errorLogReady(caption, show);
}

bool WindowFrontEnd::confirmPowerOff()
{
    return ask(PendingQuestion::PowerOff, {});
}

void WindowFrontEnd::closeApplication()
{
    Q_EMIT closeRequested();
}

bool WindowFrontEnd::ask(PendingQuestion::Kind kind, const QString &text)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_cancelled)
            return false;
        m_question = PendingQuestion{kind, text};
        m_questionTaken = false;
        m_answer.reset();
    }
    m_changed.notify_all();
    Q_EMIT questionAsked();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_answer.has_value() || m_cancelled; });
    const bool yes = m_answer.value_or(false) && !m_cancelled;
    m_question.reset();
    m_answer.reset();
    return yes;
}

std::optional<PendingQuestion> WindowFrontEnd::takeQuestion()
{
    std::lock_guard lock(m_mutex);
    if (!m_question || m_questionTaken || m_answer)
        return std::nullopt;
    m_questionTaken = true;
    return m_question;
}

void WindowFrontEnd::answer(bool yes)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_question)
            return;
        m_answer = yes;
    }
    m_changed.notify_all();
}

void WindowFrontEnd::cancelQuestions()
{
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    m_changed.notify_all();
}

void WindowFrontEnd::markDone()
{
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_changed.notify_all();
}

std::optional<PendingQuestion> WindowFrontEnd::waitForQuestionOrDone()
{
    std::unique_lock lock(m_mutex);
    const auto waiting = [this] { return m_question && !m_questionTaken && !m_answer; };
    m_changed.wait(lock, [&] { return waiting() || m_done; });
    if (!waiting())
        return std::nullopt;
    m_questionTaken = true;
    return m_question;
}
