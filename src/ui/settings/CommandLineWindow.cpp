#include "ui/settings/CommandLineWindow.h"

#include "app/TextHelpers.h"
#include "i18n/AppStrings.h"
#include "ui/common/ReadOnlyMemo.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QIcon>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// Shows a command with its options kept whole on a line (UnbreakableOptions,
// same length), and copies a selection from the exact text.
class CommandView : public QPlainTextEdit
{
public:
    using QPlainTextEdit::QPlainTextEdit;

    void setCommand(const QString &text)
    {
        m_text = text;
        setPlainText(UnbreakableOptions(text));
    }
    const QString &command() const { return m_text; }

protected:
    QMimeData *createMimeDataFromSelection() const override
    {
        const QTextCursor cursor = textCursor();
        auto *data = new QMimeData;
        data->setText(
            m_text.mid(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()));
        return data;
    }

private:
    QString m_text;
};

} // namespace

TFormCmdLine::TFormCmdLine(QWidget *parent)
    : QWidget(parent, Qt::Tool)
    , m_me(new CommandView(this))
    , m_copy(new QPushButton(this))
    , m_copyShell(new QPushButton(this))
    , m_close(new QPushButton(this))
{
    setObjectName(QStringLiteral("TFormCmdLine"));
    setMinimumSize(500, 150);
    resize(760, 260);
    m_me->setObjectName(QStringLiteral("me"));
    MakeReadOnlyMemo(m_me);
    m_me->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_me->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    m_copy->setObjectName(QStringLiteral("btnCopy"));
    m_copy->setIcon(QIcon::fromTheme(QStringLiteral("edit-copy")));
    m_copyShell->setObjectName(QStringLiteral("btnCopyShellCommand"));
    m_copyShell->setIcon(QIcon::fromTheme(QStringLiteral("utilities-terminal")));
    m_close->setObjectName(QStringLiteral("btnClose"));
    m_close->setIcon(QIcon::fromTheme(QStringLiteral("window-close")));
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_copy, QDialogButtonBox::ActionRole);
    buttons->addButton(m_copyShell, QDialogButtonBox::ActionRole);
    buttons->addButton(m_close, QDialogButtonBox::RejectRole);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_me, 1);
    layout->addWidget(buttons);

    connect(m_copy, &QPushButton::clicked, this,
        [this] { QGuiApplication::clipboard()->setText(text()); });
    connect(m_copyShell, &QPushButton::clicked, this, &TFormCmdLine::shellCommandRequested);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    auto *esc = new QShortcut(QKeySequence::Cancel, this);
    connect(esc, &QShortcut::activated, this, &QWidget::close);
    setShellCommandAvailable(false);
}

void TFormCmdLine::SetLang(const TAppStrings &strings)
{
    setWindowTitle(strings.Main.CommandLineInfo);
    m_me->setAccessibleName(strings.Main.CommandLineInfo);
    m_copy->setText(strings.FileInfo.btnCopy);
    m_copyShell->setText(strings.Main.CopyAsShellCommand);
    m_close->setText(strings.Main.Close);
}

void TFormCmdLine::setText(const QString &text)
{
    const QString shown = WithLineFeeds(text);
    auto *view = static_cast<CommandView *>(m_me);
    if (shown == view->command())
        return;
    const int position = m_me->verticalScrollBar()->value();
    view->setCommand(shown);
    m_me->verticalScrollBar()->setValue(position);
}

QString TFormCmdLine::text() const
{
    return static_cast<const CommandView *>(m_me)->command();
}

void TFormCmdLine::setMonospaceFont(const QFont &font)
{
    m_me->setFont(font);
}

void TFormCmdLine::setShellCommandAvailable(bool available)
{
    m_copyShell->setEnabled(available);
}
