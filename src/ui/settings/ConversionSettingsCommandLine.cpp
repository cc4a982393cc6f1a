// The panel's command texts: the marks beside values a run could not use,
// the command-line window (F2) and the shell command it copies.

#include "ui/settings/ConversionSettingsPanel.h"

#include "app/AppInfo.h"
#include "app/TextHelpers.h"
#include "conversion/PlannedCommands.h"
#include "encoding/CommandAssembly.h"
#include "encoding/InvalidSettings.h"
#include "encoding/MessageSink.h"
#include "encoding/OutputName.h"
#include "encoding/PieceContext.h"
#include "ui/common/PlainText.h"
#include "ui/common/Theme.h"
#include "ui/settings/CommandLineWindow.h"
#include "ui/settings/SettingWidgets.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyle>

namespace {

// Messages for the user, collected instead of shown: a refresh caused by
// typing never opens a message box.
class CollectingSink : public IMessageSink
{
public:
    void warning(const QString &text) override { messages << text; }
    QStringList messages;
};

QString programName()
{
    return QLatin1String(AppInfo::ProgramName);
}

} // namespace

void ConversionSettingsPanel::markInvalidSettings()
{
    const QHash<QString, QString> invalid
        = FindInvalidSettings(settings(), m_lists, m_strings, m_info);
    const QIcon warningIcon = QIcon::fromTheme(
        QStringLiteral("dialog-warning"), style()->standardIcon(QStyle::SP_MessageBoxWarning));
    for (const SettingDescriptor *d : m_controls->settings()) {
        auto *box = m_controls->widget<QComboBox>(QLatin1String(d->control));
        if (!box || !box->lineEdit())
            continue;
        const QString message = WithLineFeeds(invalid.value(QLatin1String(d->control)));
        QLineEdit *edit = box->lineEdit();
        auto *mark = edit->findChild<QAction *>(QStringLiteral("invalidMark"));
        if (!mark && !message.isEmpty()) {
            mark = new QAction(warningIcon, QString(), edit);
            mark->setObjectName(QStringLiteral("invalidMark"));
            edit->addAction(mark, QLineEdit::TrailingPosition);
        }
        if (mark) {
            mark->setVisible(!message.isEmpty());
            mark->setToolTip(PlainToolTip(message));
        }
        box->setToolTip(PlainToolTip(message));
        box->setProperty("invalid", !message.isEmpty());
    }
}

void ConversionSettingsPanel::refreshPreview()
{
    m_cmdLine->setShellCommandAvailable(!m_selectedPath.isEmpty() && m_analysed);
    if (!m_cmdLine->isVisible())
        return;
    CollectingSink sink;
    m_cmdLine->setText(PreviewText(context(&sink), m_selectedPath));
}

void ConversionSettingsPanel::toggleCommandLine()
{
    if (m_cmdLine->isVisible()) {
        m_cmdLine->close();
        return;
    }
    CollectingSink sink;
    m_cmdLine->SetLang(m_strings);
    m_cmdLine->setText(PreviewText(context(&sink), m_selectedPath));
    if (!m_cmdLinePlaced) {
        m_cmdLinePlaced = true;
        CentreOver(m_cmdLine, window());
    }
    m_cmdLine->show();
    m_cmdLine->raise();
    m_cmdLine->activateWindow();
    refreshPreview();
    // The command itself tells what is wrong, as a run would.
    showMessages(sink.messages);
}

void ConversionSettingsPanel::showMessages(const QStringList &messages)
{
    for (const QString &message : messages)
        ShowPlainMessage(this, QMessageBox::Warning, programName(), WithLineFeeds(message));
}

void ConversionSettingsPanel::copyShellCommand()
{
    if (m_selectedPath.isEmpty())
        return;
    CollectingSink sink;
    // The name the run would choose now, without creating the file.
    OutputNamePlanner names(
        settings(), m_strings, &sink, OutputNamePlanner::Plan, {m_selectedPath});
    names.setTreeRoots({m_selectedTreeRoot});
    const OutputPath output = names.next(0);
    if (output.action == OutputPath::Failed) {
        showMessages(sink.messages);
        return;
    }
    if (output.action == OutputPath::Skip) {
        ShowPlainMessage(this, QMessageBox::Information, programName(),
            m_strings.Main.Skipped + QStringLiteral(":\n") + output.path);
        return;
    }
    const PlannedCommands planned
        = PlanFileCommands(context(&sink), m_params.ffmpeg, m_selectedPath, output.path);
    if (!planned.commands.ok) {
        showMessages(sink.messages);
        return;
    }
    QGuiApplication::clipboard()->setText(planned.shellTexts.join(u'\n'));
}
