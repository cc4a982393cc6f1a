#include "ui/common/PlainText.h"

#include "ui/common/DialogParent.h"

#include <QTextDocument>

QString PlainToolTip(const QString &text)
{
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap) : text;
}

QMessageBox::StandardButton ShowPlainMessage(QWidget *parent, QMessageBox::Icon icon,
    const QString &title, const QString &text, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, DialogParent(parent));
    KeepAboveProgramWindows(&box);
    box.setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}
