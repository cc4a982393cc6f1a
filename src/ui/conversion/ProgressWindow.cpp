#include "ui/conversion/ProgressWindow.h"

#include "conversion/ConversionFrontEnd.h"
#include "conversion/ProgressFeed.h"
#include "conversion/TimeLeft.h"
#include "ui/common/MonospaceFont.h"
#include "ui/common/ReadOnlyMemo.h"
#include "ui/common/Theme.h"
#include "ui/common/WindowPlacement.h"
#include "ui/conversion/MarkupLabel.h"
#include "ui/conversion/RunningFilesView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The most lines the view takes in one go: a slice costs a few milliseconds.
constexpr qsizetype ViewChunkLines = 1000;

// The lines as the view's text: one block per line, also when a line holds
// a character the text document would take for a paragraph break.
QString viewText(const QStringList &lines)
{
    QString text = lines.join(u'\n');
    text.replace(QChar::ParagraphSeparator, u' ');
    text.replace(QChar::LineSeparator, u' ');
    return text;
}

QLabel *descLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return label;
}

} // namespace

TFormProgress::TFormProgress(QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FormProgress"));
    setMinimumSize(ProgressSettings::MinWidth, ProgressSettings::MinHeight);

    createControls();
    layOutControls();

    connect(m_btnAbort, &QPushButton::clicked, this, &TFormProgress::onAbort);
    connect(m_btnPause, &QPushButton::clicked, this, [this] {
        if (m_paused)
            Q_EMIT resumeClicked();
        else
            Q_EMIT pauseClicked();
    });
    connect(
        m_chHideEncoderOutput, &QCheckBox::toggled, this, &TFormProgress::hideEncoderOutputChanged);

    setMonospaceFont({});
    resize(ProgressSettings().Width, ProgressSettings().Height);
    SetLang(TAppStrings());
    setTimes(-1, -1, -1);
}

void TFormProgress::createControls()
{
    m_lblEncoderOutput = new QLabel(this);
    m_chHideEncoderOutput = new QCheckBox(this);
    m_chCloseAfterConversion = new QCheckBox(this);
    m_chCloseAfterConversion->setChecked(true);
    m_me = new QPlainTextEdit(this);
    m_me->setObjectName(QStringLiteral("me"));
    MakeReadOnlyMemo(m_me);
    m_me->setUndoRedoEnabled(false);
    m_me->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_me->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_lblEncoderOutput->setBuddy(m_me);

    m_lblProgress = new QLabel(this);
    m_pbFile = new QProgressBar(this);
    m_pbFile->setRange(0, 100);
    m_pbFile->setValue(0);
    m_lblProgress->setBuddy(m_pbFile);

    m_lblInputFileDesc = descLabel(this);
    m_lblInputFile = new QLabel(this);
    m_lblInputFile->setTextFormat(Qt::PlainText);
    m_lblInputFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblInputFile->setWordWrap(true);
    m_lblInputFile->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_lblOutputFileDesc = descLabel(this);
    m_lblOutputFile = new MarkupLabel(this);
    m_lblStatusDesc = descLabel(this);
    m_lblStatus = new MarkupLabel(this);
    m_lblElapsedDesc = descLabel(this);
    m_lblElapsed = new QLabel(this);
    m_lblTimeLeftDesc = descLabel(this);
    m_lblTimeLeft = new QLabel(this);
    // The selectable values take focus: a screen reader names them by
    // their captions.
    m_lblInputFileDesc->setBuddy(m_lblInputFile);
    m_lblOutputFileDesc->setBuddy(m_lblOutputFile);
    m_lblStatusDesc->setBuddy(m_lblStatus);

    m_btnPause = new QPushButton(this);
    m_btnPause->setEnabled(false);
    m_btnAbort = new QPushButton(this);
    m_btnAbort->setDefault(true);
    // Outside a dialog a button takes Enter only when it says so.
    m_btnPause->setAutoDefault(true);
    m_btnAbort->setAutoDefault(true);
    createRunningFiles();
}

void TFormProgress::layOutControls()
{
    auto *top = new QHBoxLayout;
    top->addWidget(m_lblEncoderOutput);
    top->addStretch(1);
    top->addWidget(m_chHideEncoderOutput);
    top->addSpacing(12);
    top->addWidget(m_chCloseAfterConversion);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_lblProgress);
    bar->addWidget(m_pbFile, 1);
    bar->addWidget(m_lblFilesDone);

    auto *facts = new QGridLayout;
    facts->setColumnStretch(1, 1);
    facts->addWidget(m_lblInputFileDesc, 0, 0);
    facts->addWidget(m_lblInputFile, 0, 1, 1, 3);
    facts->addWidget(m_lblOutputFileDesc, 1, 0);
    facts->addWidget(m_lblOutputFile, 1, 1, 1, 3);
    facts->addWidget(m_lblStatusDesc, 2, 0);
    facts->addWidget(m_lblStatus, 2, 1, 1, 3);
    auto *times = new QHBoxLayout;
    times->addWidget(m_lblElapsed);
    times->addSpacing(24);
    times->addWidget(m_lblTimeLeftDesc);
    times->addWidget(m_lblTimeLeft, 1);
    facts->addWidget(m_lblElapsedDesc, 3, 0);
    facts->addLayout(times, 3, 1, 1, 3);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_btnPause);
    buttons->addStretch(1);
    buttons->addWidget(m_btnAbort);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_me, 3);
    layout->addWidget(m_lblRunningFiles);
    layout->addWidget(m_tvRunningFiles, 2);
    layout->addLayout(bar);
    layout->addLayout(facts);
    layout->addLayout(buttons);
}

TFormProgress::~TFormProgress() = default;

void TFormProgress::SetLang(const TAppStrings &strings)
{
    m_strings = strings;
    const TProgressModuleStrings &p = strings.Progress;
    m_lblEncoderOutput->setText(p.lblEncoderOutput);
    m_chHideEncoderOutput->setText(p.chHideEncoderOutput);
    m_chCloseAfterConversion->setText(p.chCloseAfterConversion);
    m_lblProgress->setText(p.lblProgress);
    m_lblInputFileDesc->setText(p.lblInputFile);
    m_lblOutputFileDesc->setText(p.lblOutputFile);
    m_lblStatusDesc->setText(p.lblStatus);
    m_lblElapsedDesc->setText(p.lblElapsed);
    m_lblTimeLeftDesc->setText(p.lblTimeLeft);
    setPauseCaption(m_paused);
    setAbortCaption(m_running ? p.btnAbort : strings.Main.Close);
    if (!m_viewShowsLines)
        m_me->setPlainText(strings.Main.PleaseWait);
    setTimes(m_elapsedMs, m_fileLeftMs, m_batchLeftMs);
    updateCaption();
    m_lblRunningFiles->setText(p.RunningFiles);
    m_tvRunningFiles->SetLang(strings);
    showFilesDone();
}

void TFormProgress::applySettings(const ProgressSettings &settings)
{
    m_chHideEncoderOutput->setChecked(settings.DontShowEncoderOutput);
    m_chCloseAfterConversion->setChecked(settings.CloseAfterConversion);
    m_scrollToBottom = settings.AutoScrollMemoToBottom;
    m_left = settings.Left;
    m_top = settings.Top;
    resize(std::max(settings.Width, ProgressSettings::MinWidth),
        std::max(settings.Height, ProgressSettings::MinHeight));
}

ProgressSettings TFormProgress::settings() const
{
    ProgressSettings s;
    s.DontShowEncoderOutput = m_chHideEncoderOutput->isChecked();
    s.CloseAfterConversion = m_chCloseAfterConversion->isChecked();
    s.AutoScrollMemoToBottom = m_scrollToBottom;
    const QRect frame = isVisible() ? geometry() : QRect(m_left, m_top, width(), height());
    s.Left = frame.left();
    s.Top = frame.top();
    s.Width = width();
    s.Height = height();
    return s;
}

void TFormProgress::setMonospaceFont(const TFontParams &font)
{
    m_me->setFont(MonospaceFont(font));
}

void TFormProgress::setStatusColors(uint32_t colorOK, uint32_t colorError)
{
    m_colorOK = colorOK;
    m_colorError = colorError;
}

void TFormProgress::showOverOwner()
{
    CentreOverOwner(this);
    show();
    raise();
    activateWindow();
}

bool TFormProgress::hideEncoderOutput() const
{
    return m_chHideEncoderOutput->isChecked();
}

bool TFormProgress::closeAfterConversion() const
{
    return m_chCloseAfterConversion->isChecked();
}

bool TFormProgress::autoScroll() const
{
    return m_scrollToBottom;
}

void TFormProgress::runStarted(const ConversionWalkStart &start)
{
    m_running = true;
    m_paused = false;
    m_lastBar = -1;
    m_lastStatusMarkup.clear();
    m_lastCaption.clear();
    m_windowCaption.clear();
    m_pbFile->setValue(0);
    m_lblProgress->setVisible(!start.AudioOnly);
    m_pbFile->setVisible(!start.AudioOnly);
    setAbortCaption(start.AbortCaption);
    m_btnAbort->setEnabled(true);
    setPauseCaption(false);
    m_btnPause->setEnabled(!start.BatchOnly);
    m_lines.clear();
    m_docLines = m_docCount = 0;
    m_viewShowsLines = true;
    m_me->clear();
    m_lblInputFile->clear();
    m_lblOutputFile->setMarkup({});
    m_lblStatus->setMarkup({});
    m_lblStatus->setTextColor({});
    setTimes(0, -1, -1);
    startRunningFiles(start);
    updateCaption();
    if (!start.BatchOnly)
        showOverOwner();
}

void TFormProgress::fileStarted(const ConversionFileView &file)
{
    if (m_jobs > 1) {
        runningFileStarted(file);
        return;
    }
    m_lblInputFile->setText(file.InputFile);
    m_lblOutputFile->setMarkup(file.OutputMarkup);
    m_lblStatus->setPlain(file.StatusText);
    m_lblStatus->setTextColor({});
    m_pbFile->setValue(0);
    m_pbFile->setPalette(QPalette());
    m_fileLeftMs = -1;
    setTimes(m_elapsedMs, -1, m_batchLeftMs);
}

void TFormProgress::fileSkipped(const ConversionFileView &file)
{
    if (m_jobs > 1) {
        runningFileEnded(file.FileNo);
        // The view's file keeps its names on show.
        if (m_chosenFileNo != 0)
            return;
    }
    m_lblInputFile->setText(file.InputFile);
    m_lblOutputFile->setMarkup(file.OutputMarkup);
    m_lblStatus->setPlain(file.StatusText);
    m_lblStatus->setTextColor({});
}

void TFormProgress::fileFinished(const ConversionFileEnd &end)
{
    if (m_jobs > 1) {
        runningFileFinished(end);
        return;
    }
    if (end.ProgressComplete)
        m_pbFile->setValue(100);
    // A failed or aborted file's bar keeps its place, in the error colour.
    if (!end.Succeeded) {
        QPalette failed = m_pbFile->palette();
        failed.setColor(QPalette::Highlight, ColorFromBgr(m_colorError));
        m_pbFile->setPalette(failed);
    }
    m_lblStatus->setMarkup(end.StatusMarkup);
    m_lblStatus->setTextColor(ColorFromBgr(end.Succeeded ? m_colorOK : m_colorError));
}

void TFormProgress::applySnapshot(const ProgressSnapshot &s)
{
    if (s.progressBar >= 0 && s.progressBar != m_lastBar) {
        m_lastBar = s.progressBar;
        m_pbFile->setValue(s.progressBar);
    }
    if (s.statusMarkup != m_lastStatusMarkup) {
        m_lastStatusMarkup = s.statusMarkup;
        m_lblStatus->setMarkup(s.statusMarkup);
    }
    if (!s.windowCaption.isEmpty() && s.windowCaption != m_lastCaption) {
        m_lastCaption = s.windowCaption;
        m_windowCaption = s.windowCaption;
        updateCaption();
    }
    applyView(s);
}

void TFormProgress::applyView(const ProgressSnapshot &s)
{
    // The view's lines: keep what is unchanged, then append.
    const qsizetype keep = s.viewReset ? 0 : std::min(s.keepLines, m_lines.size());
    const qsizetype dropped = m_lines.size() - keep;
    if (dropped > 0)
        m_lines.remove(keep, dropped);
    m_lines += s.appendLines;
    m_docLines = std::min(m_docLines, keep);
    if (s.viewShowsOutput != m_viewShowsLines) {
        m_viewShowsLines = s.viewShowsOutput;
        m_docLines = 0;
        m_docCount = 0;
        m_me->setPlainText(m_viewShowsLines ? QString() : m_strings.Main.PleaseWait);
    }
    if (m_viewShowsLines)
        syncView(ViewChunkLines);
}

void TFormProgress::syncView(qsizetype maxLines)
{
    QTextDocument *doc = m_me->document();
    QTextCursor cursor(doc);
    bool changed = false;
    if (m_docCount > m_docLines) {
        // Lines the view shows that changed since: gone from there on.
        if (m_docLines == 0) {
            cursor.select(QTextCursor::Document);
        } else {
            const QTextBlock last = doc->findBlockByNumber(int(m_docLines - 1));
            cursor.setPosition(last.position() + last.length() - 1);
            cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        }
        cursor.removeSelectedText();
        m_docCount = m_docLines;
        changed = true;
    }
    const qsizetype count = std::min(m_lines.size() - m_docLines, maxLines);
    if (count > 0) {
        cursor.movePosition(QTextCursor::End);
        const QString text = viewText(m_lines.mid(m_docLines, count));
        cursor.insertText(m_docLines == 0 ? text : u'\n' + text);
        m_docLines += count;
        m_docCount = m_docLines;
        changed = true;
    }
    if (changed && m_scrollToBottom)
        scrollToEnd();
    // A burst of output reaches the view a slice at a time, so that the
    // window answers between the slices.
    if (m_docLines < m_lines.size() && !m_syncPending) {
        m_syncPending = true;
        QTimer::singleShot(0, this, [this] {
            m_syncPending = false;
            if (m_viewShowsLines)
                syncView(ViewChunkLines);
        });
    }
}

void TFormProgress::runFinished(const ConversionRunEnd &end)
{
    m_running = false;
    m_paused = false;
    // Several files at once: the filtered output of the file that ended
    // last, as one at a time.
    if (m_jobs > 1) {
        m_lines = end.OutputText.isEmpty() ? QStringList() : end.OutputText.split(u'\n');
        m_viewShowsLines = false;
    }
    // The whole filtered output, also when it was hidden during the run.
    if (!m_viewShowsLines) {
        m_viewShowsLines = true;
        showViewLines();
    } else {
        syncView(m_lines.size());
    }
    if (m_scrollToBottom)
        scrollToEnd();
    if (!end.StatusText.isEmpty()) {
        m_lblStatus->setPlain(end.StatusText);
        m_lblStatus->setTextColor(ColorFromBgr(m_colorOK));
    }
    setAbortCaption(end.AbortCaption);
    m_btnAbort->setEnabled(true);
    setPauseCaption(false);
    m_btnPause->setEnabled(false);
    m_windowCaption.clear();
    m_fileLeftMs = m_batchLeftMs = -1;
    endRunningFiles();
    setTimes(m_elapsedMs, -1, -1);
    updateCaption();
}

void TFormProgress::setTimes(int64_t elapsedMs, int64_t fileLeftMs, int64_t batchLeftMs)
{
    m_elapsedMs = elapsedMs;
    m_fileLeftMs = fileLeftMs;
    m_batchLeftMs = batchLeftMs;
    m_lblElapsed->setText(elapsedMs < 0 ? QString() : FormatTimeSpan(elapsedMs));
    if (m_paused)
        m_lblTimeLeft->setText(m_strings.Progress.Paused);
    else if (fileLeftMs < 0 && batchLeftMs < 0)
        m_lblTimeLeft->setText(m_running ? FormatTimeSpan(-1) : QString());
    else
        m_lblTimeLeft->setText(FormatAppString(m_strings.Progress.TimeLeftFileAndAll,
            FormatTimeSpan(fileLeftMs), FormatTimeSpan(batchLeftMs)));
}

void TFormProgress::setPaused(bool paused)
{
    m_paused = paused;
    setPauseCaption(paused);
    setTimes(m_elapsedMs, m_fileLeftMs, m_batchLeftMs);
}

void TFormProgress::abortTaken()
{
    m_btnAbort->setEnabled(false);
    m_btnPause->setEnabled(false);
}

QString TFormProgress::outputText() const
{
    return m_me->toPlainText();
}

QString TFormProgress::statusText() const
{
    return m_lblStatus->shownText();
}

QString TFormProgress::outputFileText() const
{
    return m_lblOutputFile->shownText();
}

QString TFormProgress::inputFileText() const
{
    return m_lblInputFile->text();
}

int TFormProgress::progressValue() const
{
    return m_pbFile->value();
}

QString TFormProgress::abortCaption() const
{
    return m_btnAbort->text();
}

void TFormProgress::closeEvent(QCloseEvent *event)
{
    // The close box during a run is the Abort command; the window hides
    // either way.
    if (m_running && m_btnAbort->isEnabled())
        Q_EMIT abortClicked();
    m_left = geometry().left();
    m_top = geometry().top();
    event->accept();
}

void TFormProgress::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    // The keys start on Abort, and its focus frame shows at once, not only
    // after the first Tab.
    setAttribute(Qt::WA_KeyboardFocusChange);
    m_btnAbort->setFocus(Qt::ActiveWindowFocusReason);
}

void TFormProgress::keyPressEvent(QKeyEvent *event)
{
    // Esc is the Abort button, while it takes commands.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_btnAbort->isEnabled())
            onAbort();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFormProgress::onAbort()
{
    if (m_running)
        Q_EMIT abortClicked();
    else
        close();
}

void TFormProgress::toggleShown()
{
    if (!isVisible())
        showOverOwner();
    else if (!m_running)
        close();
}

void TFormProgress::setAbortCaption(const QString &caption)
{
    m_btnAbort->setText(caption);
    m_btnAbort->setIcon(m_running ? QIcon::fromTheme(QStringLiteral("process-stop"),
                            style()->standardIcon(QStyle::SP_BrowserStop))
                                  : QIcon::fromTheme(QStringLiteral("window-close"),
                                      style()->standardIcon(QStyle::SP_DialogCloseButton)));
}

void TFormProgress::setPauseCaption(bool paused)
{
    m_btnPause->setText(paused ? m_strings.Progress.btnResume : m_strings.Progress.btnPause);
    m_btnPause->setIcon(paused ? QIcon::fromTheme(QStringLiteral("media-playback-start"),
                            style()->standardIcon(QStyle::SP_MediaPlay))
                               : QIcon::fromTheme(QStringLiteral("media-playback-pause"),
                                   style()->standardIcon(QStyle::SP_MediaPause)));
}

void TFormProgress::updateCaption()
{
    setWindowTitle(
        m_running && !m_windowCaption.isEmpty() ? m_windowCaption : m_strings.Progress.Caption);
}

void TFormProgress::showViewLines()
{
    m_me->setPlainText(viewText(m_lines));
    m_docLines = m_docCount = m_lines.size();
    if (m_scrollToBottom)
        scrollToEnd();
}

void TFormProgress::scrollToEnd()
{
    QScrollBar *bar = m_me->verticalScrollBar();
    bar->setValue(bar->maximum());
}
