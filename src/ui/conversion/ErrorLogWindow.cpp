#include "ui/conversion/ErrorLogWindow.h"

#include "app/FileLocations.h"
#include "app/ProgramDir.h"
#include "ui/common/DialogFilter.h"
#include "ui/common/MonospaceFont.h"
#include "ui/common/PlainText.h"
#include "ui/common/ReadOnlyMemo.h"
#include "ui/common/WindowPlacement.h"
#include "ui/conversion/ErrorLogHighlighter.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

const QString HtmlFilter = QStringLiteral("HTML file (*.html)");

QString logFilter(const TAppStrings &strings)
{
    return DialogFilter(strings.Errors.dlgSaveLogFilter, QStringLiteral("*.log"));
}

} // namespace

TFormErrors::TFormErrors(QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FormErrors"));
    setMinimumSize(400, 200);
    m_me = new QPlainTextEdit(this);
    m_me->setObjectName(QStringLiteral("me"));
    MakeReadOnlyMemo(m_me);
    m_me->setUndoRedoEnabled(false);
    m_me->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_highlighter = new ErrorLogHighlighter(m_me->document(), m_me->palette());

    m_btnClear = new QPushButton(this);
    m_btnSave = new QPushButton(this);
    m_btnClose = new QPushButton(this);
    m_btnClear->setIcon(QIcon::fromTheme(QStringLiteral("edit-clear")));
    m_btnSave->setIcon(QIcon::fromTheme(QStringLiteral("document-save-as")));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_btnClear);
    buttons->addWidget(m_btnSave);
    buttons->addStretch(1);
    buttons->addWidget(m_btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_me, 1);
    layout->addLayout(buttons);

    connect(m_btnClear, &QPushButton::clicked, this, &TFormErrors::clearLog);
    connect(m_btnSave, &QPushButton::clicked, this, &TFormErrors::saveLog);
    connect(m_btnClose, &QPushButton::clicked, this, &QWidget::close);
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &QWidget::close);

    resize(640, 400);
    setMonospaceFont({});
    SetLang(TAppStrings());
}

TFormErrors::~TFormErrors() = default;

void TFormErrors::SetLang(const TAppStrings &strings)
{
    m_strings = strings;
    m_btnClear->setText(strings.Errors.actClearLog);
    m_btnSave->setText(strings.Errors.actSaveLog);
    m_btnClose->setText(strings.Errors.actClose);
    setWindowTitle(m_caption.isEmpty() ? strings.Errors.Caption : m_caption);
    m_me->setAccessibleName(strings.Errors.Caption);
}

void TFormErrors::setMonospaceFont(const TFontParams &font)
{
    m_me->setFont(MonospaceFont(font));
}

void TFormErrors::setSaveFolder(const QString &folder)
{
    m_saveFolder = folder;
}

void TFormErrors::ClearErrorLog()
{
    m_log.ClearErrorLog();
    m_me->clear();
    m_caption.clear();
    setWindowTitle(m_strings.Errors.Caption);
}

void TFormErrors::addEntry(const QStringList &lines)
{
    m_log.appendLines(lines);
    m_me->appendPlainText(lines.join(u'\n'));
}

void TFormErrors::setCaptionText(const QString &caption)
{
    m_caption = caption;
    setWindowTitle(caption);
}

void TFormErrors::showOverOwner()
{
    if (!isVisible())
        CentreOverOwner(this);
    show();
    raise();
}

void TFormErrors::toggleShown()
{
    if (isVisible())
        hide();
    else
        showOverOwner();
}

QString TFormErrors::viewText() const
{
    return m_me->toPlainText();
}

bool TFormErrors::saveLog()
{
    QFileDialog dialog(this, WithoutMnemonic(m_strings.Errors.actSaveLog));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({logFilter(m_strings), HtmlFilter});
    dialog.setDefaultSuffix(QStringLiteral("log"));
    QString folder = m_saveFolder;
    if (folder.isEmpty())
        folder = ReportSaveFolder(LocateFiles(ProgramDir()));
    if (folder.isEmpty())
        folder = QDir::homePath();
    dialog.selectFile(QDir(folder).filePath(QStringLiteral("Quillon_Errors.log")));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        dialog.setDefaultSuffix(
            filter == HtmlFilter ? QStringLiteral("html") : QStringLiteral("log"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const ErrorLogFormat format
        = dialog.selectedNameFilter() == HtmlFilter ? ErrorLogFormat::Html : ErrorLogFormat::Log;
    const QString chosen = dialog.selectedFiles().first();
    // The format replaces the extension: a file under that name was not
    // the one the dialog asked about.
    const QString target = ErrorLogFileName(chosen, format);
    if (target != chosen && QFileInfo::exists(target)
        && ShowPlainMessage(this, QMessageBox::Question, windowTitle(),
               FormatAppString(m_strings.Errors.ReplaceFile, target),
               QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes)
        return false;
    QString error;
    if (saveLogAs(chosen, format, &error))
        return true;
    ShowPlainMessage(this, QMessageBox::Critical, windowTitle(), error);
    return false;
}

bool TFormErrors::saveLogAs(const QString &chosenName, ErrorLogFormat format, QString *errorText)
{
    return m_log.save(chosenName, format, nullptr, errorText);
}

void TFormErrors::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        m_highlighter->setPalette(m_me->palette());
    QWidget::changeEvent(event);
}

void TFormErrors::clearLog()
{
    m_log.clearLines();
    m_me->clear();
}
