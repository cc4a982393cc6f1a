#include "ui/AppEntry.h"

#include "ui/MainWindow.h"

void openFilesInWindow(TFormMain &window, const QStringList &paths)
{
    // The main window's add function takes paths here once it exists (the
    // same rules as files dropped on the list); until then a later start
    // only brings the window forward.
    Q_UNUSED(paths);
    if (window.isMinimized())
        window.showNormal();
    else
        window.show();
    window.raise();
    window.activateWindow();
}
