#include "ui/update/CheckUpdateWindow.h"

#include "app/AppInfo.h"
#include "app/AppParams.h"
#include "app/ProgramDir.h"
#include "app/TextHelpers.h"
#include "app/UpdateCheck.h"
#include "ui/common/MonospaceFont.h"
#include "ui/common/ReadOnlyMemo.h"
#include "ui/common/Theme.h"
#include "ui/update/VersionFileFetcher.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *plainLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    // The server's text is never read as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

TFormCheckUpdate::TFormCheckUpdate(
    const TAppParams &params, const TAppStrings &strings, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint)
    , m_params(params)
    , m_layout(LocateFiles(ProgramDir()).layout)
    , m_fetcher(new VersionFileFetcher(this))
{
    setObjectName(QStringLiteral("FormCheckUpdate"));

    lblUserVersionDesc = plainLabel(this, "lblUserVersionDesc");
    lblUserVersion = plainLabel(this, "lblUserVersion");
    lblUserVersion->setText(QLatin1String(AppInfo::ProgramVersion));
    lblLatestVersionDesc = plainLabel(this, "lblLatestVersionDesc");
    lblLatestVersion = plainLabel(this, "lblLatestVersion");
    // A long published version must not widen the window.
    lblLatestVersion->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    for (QLabel *label : {lblUserVersion, lblLatestVersion}) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
    }

    me = new QPlainTextEdit(this);
    me->setObjectName(QStringLiteral("me"));
    MakeReadOnlyMemo(me);
    me->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    me->setFont(MonospaceFont(params.MonospaceFont));
    me->setAutoFillBackground(true);

    btnCheckNow = new QPushButton(this);
    btnCheckNow->setObjectName(QStringLiteral("btnCheckNow"));
    btnDownload = new QPushButton(this);
    btnDownload->setObjectName(QStringLiteral("btnDownload"));
    btnClose = new QPushButton(this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    for (QPushButton *button : {btnCheckNow, btnDownload})
        button->setAutoDefault(false);
    btnClose->setDefault(true);

    auto *versions = new QGridLayout;
    versions->addWidget(lblUserVersionDesc, 0, 0);
    versions->addWidget(lblUserVersion, 0, 1);
    versions->addWidget(lblLatestVersionDesc, 1, 0);
    versions->addWidget(lblLatestVersion, 1, 1);
    versions->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnCheckNow);
    buttons->addWidget(btnDownload);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(versions);
    layout->addWidget(me, 1);
    layout->addLayout(buttons);
    setFixedSize(460, 280);

    tmCheckUpdate.setInterval(1000);
    tmCheckUpdate.setSingleShot(true);
    connect(&tmCheckUpdate, &QTimer::timeout, this, &TFormCheckUpdate::checkNow);
    connect(btnCheckNow, &QPushButton::clicked, this, &TFormCheckUpdate::checkNow);
    connect(btnDownload, &QPushButton::clicked, this, &TFormCheckUpdate::openDownloadPage);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(m_fetcher, &VersionFileFetcher::finished, this, &TFormCheckUpdate::showAnswer);

    SetLang(strings);
    ClearStatus();
}

void TFormCheckUpdate::setTimeout(std::chrono::milliseconds timeout)
{
    m_fetcher->setTimeout(timeout);
}

void TFormCheckUpdate::SetLang(const TAppStrings &strings)
{
    m_texts = strings.CheckUpdate;
    setWindowTitle(m_texts.Caption);
    me->setAccessibleName(m_texts.Caption);
    lblUserVersionDesc->setText(m_texts.lblUserVersion);
    lblLatestVersionDesc->setText(m_texts.lblLatestVersion);
    btnCheckNow->setText(m_texts.CheckNow);
    btnCheckNow->setToolTip(WithoutMnemonic(m_texts.CheckNow));
    btnDownload->setText(m_texts.btnDownload);
    btnDownload->setToolTip(m_texts.GoToDownloadPage);
    // The update window borrows the tools window's Close.
    btnClose->setText(strings.ToolsInfo.actClose);
    btnClose->setToolTip(WithoutMnemonic(strings.ToolsInfo.actClose));
}

void TFormCheckUpdate::showAndCheck()
{
    ClearStatus();
    const bool asks = !site().isEmpty() || !m_versionFileUrl.isEmpty();
    btnCheckNow->setEnabled(asks);
    // Nothing is published to compare with.
    lblLatestVersionDesc->setVisible(asks);
    lblLatestVersion->setVisible(asks);
    if (asks)
        tmCheckUpdate.start();
    else
        me->setPlainText(
            FormatAppString(m_texts.FromPackageManager, QLatin1String(AppInfo::ProgramName)));
    show();
    raise();
    activateWindow();
}

void TFormCheckUpdate::ClearStatus()
{
    setStatus(Status::None);
    me->clear();
    btnDownload->hide();
}

void TFormCheckUpdate::checkNow()
{
    tmCheckUpdate.stop();
    if (site().isEmpty() && m_versionFileUrl.isEmpty())
        return;
    me->clear();
    setStatus(Status::None);
    btnCheckNow->setEnabled(false);
    btnDownload->hide();
    lblLatestVersion->clear();
    me->setPlainText(WithLineFeeds(FormatAppString(m_texts.CheckingUpdates)));

    const QUrl url = m_versionFileUrl.isEmpty() ? VersionFileUrl(site()) : m_versionFileUrl;
    if (!m_fetcher->fetch(url))
        showAnswer({});
}

void TFormCheckUpdate::showAnswer(const QByteArray &answer)
{
    const UpdateCheckResult result
        = EvaluateVersionFile(answer, QString::fromLatin1(AppInfo::ProgramVersion));
    switch (result.Outcome) {
    case UpdateCheckOutcome::ConnectionFailed:
        me->setPlainText(WithLineFeeds(FormatAppString(m_texts.ConnectionFailed)));
        setStatus(Status::Failed);
        break;
    case UpdateCheckOutcome::CannotCheck:
        me->setPlainText(WithLineFeeds(FormatAppString(m_texts.CannotCheck)));
        setStatus(Status::Failed);
        break;
    case UpdateCheckOutcome::NoUpdates:
        lblLatestVersion->setText(result.LastVersion);
        me->setPlainText(WithLineFeeds(FormatAppString(m_texts.NoUpdates)));
        setStatus(Status::NoUpdates);
        break;
    case UpdateCheckOutcome::UpdateAvailable:
        lblLatestVersion->setText(result.LastVersion);
        me->setPlainText(
            WithLineFeeds(UpdateAvailableText(FormatAppString(m_texts.UpdatesAvailable), result)));
        setStatus(Status::UpdateAvailable);
        btnDownload->show();
        break;
    }
    btnCheckNow->setEnabled(true);
    Q_EMIT checkFinished(m_status);
}

void TFormCheckUpdate::setStatus(Status status)
{
    m_status = status;
    // The two tinted states carry both colours. The plain ones are white
    // with the window's text colour, unless that text colour is light (a
    // dark theme): then the view keeps the theme's own colours.
    QPalette colours = palette();
    switch (status) {
    case Status::Failed:
        colours.setColor(QPalette::Base, QColor(0xFA, 0xDA, 0xDA));
        colours.setColor(QPalette::Text, QColor(0x4F, 0x0B, 0x0B));
        break;
    case Status::UpdateAvailable:
        colours.setColor(QPalette::Base, QColor(0xE6, 0xF0, 0xE3));
        colours.setColor(QPalette::Text, QColor(0x1D, 0x2F, 0x1A));
        break;
    case Status::None:
    case Status::NoUpdates:
        if (!IsDarkPalette(palette(), QPalette::Window)) {
            colours.setColor(QPalette::Base, Qt::white);
            colours.setColor(QPalette::Text, palette().color(QPalette::WindowText));
        }
        break;
    }
    me->setPalette(colours);
}

void TFormCheckUpdate::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        setStatus(m_status);
}

void TFormCheckUpdate::openDownloadPage()
{
    QDesktopServices::openUrl(DownloadPageUrl(site()));
}

QString TFormCheckUpdate::site() const
{
    return UpdateCheckSite(WebSiteUrl(m_params), m_layout);
}
