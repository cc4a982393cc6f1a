#include "ui/tools/ToolsInfoWindow.h"

#include "analysis/ToolsReport.h"
#include "app/AppParams.h"
#include "app/SafeSave.h"
#include "app/ToolResolution.h"
#include "i18n/AppStrings.h"
#include "ui/common/MonospaceFont.h"
#include "ui/common/PlainText.h"
#include "ui/common/ReadOnlyMemo.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormToolsInfo::TFormToolsInfo(
    const TAppParams &params, const TAppStrings &strings, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint)
    , m_params(params)
{
    setObjectName(QStringLiteral("FormToolsInfo"));
    setMinimumSize(300, 200);
    resize(760, 420);

    me = new QPlainTextEdit(this);
    me->setObjectName(QStringLiteral("me"));
    MakeReadOnlyMemo(me);
    me->setLineWrapMode(QPlainTextEdit::NoWrap);
    me->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    me->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    me->setFont(MonospaceFont(params.MonospaceFont));

    btnCopy = new QPushButton(this);
    btnCopy->setObjectName(QStringLiteral("btnCopy"));
    btnSave = new QPushButton(this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnClose = new QPushButton(this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);
    for (QPushButton *button : {btnCopy, btnSave})
        button->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnCopy);
    buttons->addWidget(btnSave);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(me, 1);
    layout->addLayout(buttons);

    auto *actSelectAll = new QAction(this);
    actSelectAll->setShortcut(QKeySequence::SelectAll);
    addAction(actSelectAll);
    connect(actSelectAll, &QAction::triggered, me, &QPlainTextEdit::selectAll);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(btnCopy, &QPushButton::clicked, this, &TFormToolsInfo::copyReport);
    connect(btnSave, &QPushButton::clicked, this, &TFormToolsInfo::saveReport);

    SetLang(strings);
}

void TFormToolsInfo::SetLang(const TAppStrings &strings)
{
    setWindowTitle(strings.ToolsInfo.Caption);
    me->setAccessibleName(strings.ToolsInfo.Caption);
    btnClose->setText(strings.ToolsInfo.actClose);
    // The report window shares its copy and save texts with the file
    // information report.
    btnCopy->setText(strings.FileInfo.btnCopy);
    btnCopy->setToolTip(strings.FileInfo.actCopy);
    btnSave->setText(strings.FileInfo.actSave);
    m_saveFilter = strings.FileInfo.dlgSaveFilter + QStringLiteral(" (*.txt)");
    m_pleaseWait = strings.Main.PleaseWait;
    if (m_jobs.isPending(ReportJob))
        me->setPlainText(m_pleaseWait);
}

void TFormToolsInfo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        refresh();
}

void TFormToolsInfo::refresh()
{
    m_report.clear();
    me->setPlainText(m_pleaseWait);
    btnCopy->setEnabled(false);
    btnSave->setEnabled(false);

    // A copy: the worker must not read the record the window thread writes.
    TAppParams params = m_params;
    m_jobs.run(
        ReportJob,
        [params](BackgroundJob &job) mutable {
            Outcome outcome;
            const QString ffmpeg = ResolveFFmpegPath(params);
            const QString mediaInfo = ResolveMediaInfoPath(params);
            QString error;
            outcome.ok = BuildToolsReport(
                ffmpeg, mediaInfo, outcome.text, &error, ToolsReportLabelWidth, &job.runner());
            if (!outcome.ok)
                outcome.text = error;
            return outcome;
        },
        [this](const Outcome &outcome) { showOutcome(outcome); });
}

void TFormToolsInfo::showOutcome(const Outcome &outcome)
{
    m_report = outcome.ok ? outcome.text : QString();
    me->setPlainText(outcome.text);
    btnCopy->setEnabled(outcome.ok);
    btnSave->setEnabled(outcome.ok);
    Q_EMIT reportShown();
}

void TFormToolsInfo::copyReport()
{
    QApplication::clipboard()->setText(m_report);
}

void TFormToolsInfo::saveReport()
{
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString(), m_saveFilter);
    if (path.isEmpty())
        return;
    QString error;
    if (!SaveWholeFile(path, m_report.toUtf8(), &error))
        ShowPlainMessage(this, QMessageBox::Warning, windowTitle(), error);
}
