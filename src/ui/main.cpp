#include "app/InterruptWatcher.h"
#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "ui/AppEntry.h"
#include "ui/SingleInstance.h"
#include "ui/main/MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The program's identifier (X window class, freedesktop files); the
    // title with version and bit width is the main window's. Wayland shells
    // find the icon and the launcher entry by the desktop file name.
    QApplication::setApplicationName(QStringLiteral("quillon"));
    QApplication::setDesktopFileName(QStringLiteral("quillon"));

    // QApplication has taken its own options out of argv. The paths are made
    // absolute here: a running instance has another current folder.
    QStringList paths;
    for (int i = 1; i < argc; ++i)
        if (*argv[i])
            paths << ExpandFullPath(DecodeLocalName(argv[i]));
    // A logout, kill or closed terminal ends the program as its close would:
    // the run aborted and cleaned up, the settings saved, the socket removed.
    // Caught from here on: the window's close runs once the loop does.
    TFormMain *mainWindow = nullptr;
    const auto closeWindow = [&mainWindow] {
        if (mainWindow)
            mainWindow->closeForSignal();
    };
    InterruptWatcher stopSignals([&app, closeWindow] {
        QMetaObject::invokeMethod(&app, closeWindow, Qt::QueuedConnection);
    });
    SingleInstance instance(SingleInstance::serverName());
    if (!instance.start(paths))
        return stopSignals.interrupted() ? stopSignals.exitStatus() : 0;

    TFormMain window;
    mainWindow = &window;
    // A signal taken while the window was being made.
    if (stopSignals.interrupted())
        QMetaObject::invokeMethod(&app, closeWindow, Qt::QueuedConnection);
    // Closing the main window ends the program, also when it was hidden in
    // the tray and no window is visible any more.
    QObject::connect(
        &window, &TFormMain::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&instance, &SingleInstance::openRequested, &window,
        [&window](const QStringList &requested) { openFilesInWindow(window, requested); });
    window.show();
    window.addCommandLinePaths(paths);
    const int status = app.exec();
    return stopSignals.interrupted() ? stopSignals.exitStatus() : status;
}
