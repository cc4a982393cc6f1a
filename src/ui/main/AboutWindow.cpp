#include "ui/main/AboutWindow.h"

#include "analysis/ToolsReport.h"
#include "app/AboutText.h"
#include "app/AppParams.h"
#include "app/ToolResolution.h"
#include "i18n/AppStrings.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

TFormAbout::TFormAbout(const TAppParams &params, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , m_params(params)
{
    setObjectName(QStringLiteral("FormAbout"));
    auto *icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize) * 2;
    icon->setPixmap(QApplication::windowIcon().pixmap(iconSize));
    icon->setAlignment(Qt::AlignTop);

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lblAbout"));
    m_text->setTextFormat(Qt::RichText);
    m_text->setTextInteractionFlags(Qt::TextBrowserInteraction);
    // QLabel opens links through QDesktopServices.
    m_text->setOpenExternalLinks(true);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *body = new QHBoxLayout;
    body->setSpacing(style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing) * 3);
    body->addWidget(icon);
    body->addWidget(m_text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(m_buttons);
    // Fixed size: as large as its text needs, whatever the scaling.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F1));
    connect(close, &QAction::triggered, this, &QDialog::reject);
    addAction(close);
}

void TFormAbout::SetLang(const TAppStrings &strings)
{
    setWindowTitle(strings.About.Caption);
    m_buttons->button(QDialogButtonBox::Close)->setText(strings.Errors.actClose);
    m_homePage = WebPageUrl(m_params, WebPage::HomePage);
    m_template = AboutTemplate({strings.About.Version, strings.About.ConvertsWith,
                                   strings.About.FactsFrom, strings.About.BuiltWith},
        !m_homePage.isEmpty());
    m_donation = strings.About.Donation;
    m_notFound = strings.About.ToolNotFound;
    updateText();
}

void TFormAbout::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous() || m_jobs.isPending(VersionsJob))
        return;
    // A copy: the worker must not read the record the window thread writes.
    TAppParams params = m_params;
    m_jobs.run(
        VersionsJob,
        [params](BackgroundJob &job) mutable {
            return Versions{
                ShownToolVersion(ResolveFFmpegPath(params), ToolKind::FFmpeg, &job.runner()),
                ShownToolVersion(ResolveMediaInfoPath(params), ToolKind::MediaInfo)};
        },
        [this](const Versions &versions) {
            m_versions = versions;
            updateText();
            Q_EMIT versionsShown();
        });
}

void TFormAbout::updateText()
{
    AboutFacts facts = ProgramAboutFacts(m_homePage, m_donation);
    facts.ffmpegVersion = m_versions.ffmpeg.isEmpty() ? m_notFound : m_versions.ffmpeg;
    facts.mediaInfoVersion = m_versions.mediaInfo.isEmpty()
        ? QStringLiteral("MediaInfo ") + m_notFound
        : m_versions.mediaInfo;
    m_text->setText(AboutText(m_template, facts));
    adjustSize();
}

QString TFormAbout::text() const
{
    return m_text->text();
}
