#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "ui/AppEntry.h"
#include "ui/MainWindow.h"
#include "ui/SingleInstance.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Wayland shells find the icon and the launcher entry by this name.
    QApplication::setDesktopFileName(QStringLiteral("quillon"));

    // QApplication has taken its own options out of argv. The paths are made
    // absolute here: a running instance has another current folder.
    QStringList paths;
    for (int i = 1; i < argc; ++i)
        if (*argv[i])
            paths << ExpandFullPath(DecodeLocalName(argv[i]));
    SingleInstance instance(SingleInstance::serverName());
    if (!instance.start(paths))
        return 0;

    TFormMain window;
    QObject::connect(&instance, &SingleInstance::openRequested, &window,
        [&window](const QStringList &requested) { openFilesInWindow(window, requested); });
    window.show();
    return app.exec();
}
