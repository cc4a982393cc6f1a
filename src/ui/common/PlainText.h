#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Texts that carry a file name, a tag or a typed value are shown as they
// are: Qt takes a text that looks like markup as rich text, so a name such
// as "<b>x</b>.mkv" would be drawn bold, "<img ...>" as a picture.

// A tooltip that shows text literally, line breaks kept.
QString PlainToolTip(const QString &text);

// A modal message box with the text shown literally, over the window the
// user is in (parent when the program has no active window).
QMessageBox::StandardButton ShowPlainMessage(QWidget *parent, QMessageBox::Icon icon,
    const QString &title, const QString &text,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
