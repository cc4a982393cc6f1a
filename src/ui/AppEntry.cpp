#include "ui/AppEntry.h"

#include "ui/main/MainWindow.h"

void openFilesInWindow(TFormMain &window, const QStringList &paths)
{
    // Brought forward first, so that a question the adding asks shows over
    // it. From the tray too: the user asked for Quillon.
    if (window.isMinimized())
        window.showNormal();
    else
        window.show();
    window.raise();
    window.activateWindow();
    window.addCommandLinePaths(paths);
}
