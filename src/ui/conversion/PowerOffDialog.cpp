#include "ui/conversion/PowerOffDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

PowerOffDialog::PowerOffDialog(const TAppStrings &strings, int seconds, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
    , m_text(strings.Main.PowerOffCountdown)
    , m_seconds(std::max(1, seconds))
    , m_left(m_seconds)
{
    setWindowTitle(strings.Main.PowerOffCaption);
    setModal(true);
    auto *icon = new QLabel(this);
    const QIcon shutdown = QIcon::fromTheme(
        QStringLiteral("system-shutdown"), style()->standardIcon(QStyle::SP_MessageBoxWarning));
    icon->setPixmap(shutdown.pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    m_label = new QLabel(this);
    m_label->setWordWrap(true);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, m_seconds);
    m_bar->setTextVisible(false);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *now = buttons->addButton(strings.Main.PowerOffNow, QDialogButtonBox::AcceptRole);
    QPushButton *cancel = buttons->addButton(strings.Main.Cancel, QDialogButtonBox::RejectRole);
    now->setObjectName(QStringLiteral("btnPowerOffNow"));
    cancel->setObjectName(QStringLiteral("btnCancel"));
    // Enter must not switch the computer off by accident.
    cancel->setDefault(true);
    cancel->setFocus();
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *text = new QVBoxLayout;
    text->addWidget(m_label);
    text->addWidget(m_bar);
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &PowerOffDialog::tick);
    m_timer->start();
    showLeft();
}

void PowerOffDialog::tick()
{
    if (--m_left <= 0) {
        m_timer->stop();
        accept();
        return;
    }
    showLeft();
}

void PowerOffDialog::showLeft()
{
    m_label->setText(FormatAppString(m_text, QString::number(m_left)));
    m_bar->setValue(m_left);
}
