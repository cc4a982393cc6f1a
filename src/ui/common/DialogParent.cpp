#include "ui/common/DialogParent.h"

#include <QApplication>
#include <QWidget>

QWidget *DialogParent(QWidget *fallback)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    return fallback ? fallback->window() : nullptr;
}

void KeepAboveProgramWindows(QWidget *dialog)
{
    for (const QWidget *window : QApplication::topLevelWidgets()) {
        if (window != dialog && window->isVisible()
            && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
            dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
            return;
        }
    }
}
