#include "ui/MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The program's identifier (X window class, freedesktop files); the
    // title with version and bit width is the main window's.
    QApplication::setApplicationName(QStringLiteral("quillon"));
    TFormMain window;
    // Closing the main window ends the program, also when it was hidden in
    // the tray and no window is visible any more.
    QObject::connect(
        &window, &TFormMain::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    window.show();
    window.addCommandLinePaths(QCoreApplication::arguments().mid(1));
    return app.exec();
}
