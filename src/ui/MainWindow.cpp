#include "ui/MainWindow.h"

#include "app/AppInfo.h"

TFormMain::TFormMain(QWidget *parent) : QMainWindow(parent)
{
    setMinimumSize(650, 400);
    resize(998, 712);
    setWindowTitle(AppInfo::ProgramTitle());
}
