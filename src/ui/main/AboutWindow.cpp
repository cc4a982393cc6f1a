#include "ui/main/AboutWindow.h"

#include "app/AboutText.h"
#include "app/AppParams.h"
#include "i18n/AppStrings.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFormAbout::TFormAbout(const TAppParams &params, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , m_params(params)
    , m_template(AboutTemplate())
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
    m_text->setText(AboutText(m_template,
        ProgramAboutFacts(WebPageUrl(m_params, WebPage::HomePage), strings.About.Donation)));
}

QString TFormAbout::text() const
{
    return m_text->text();
}
