#include "ui/common/ElidingComboBox.h"

#include <QHelpEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>

ElidingComboBox::ElidingComboBox(QWidget *parent)
    : QComboBox(parent)
{ }

QString ElidingComboBox::shownText() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect text
        = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    return fontMetrics().elidedText(currentText(), Qt::ElideMiddle, text.width());
}

void ElidingComboBox::paintEvent(QPaintEvent *event)
{
    if (isEditable()) {
        QComboBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = shownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

bool ElidingComboBox::event(QEvent *event)
{
    // The whole entry when the box shows less of it, else the own tooltip.
    if (event->type() == QEvent::ToolTip && !isEditable() && shownText() != currentText()) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), currentText(), this);
        return true;
    }
    return QComboBox::event(event);
}
