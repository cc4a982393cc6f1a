#pragma once

#include "i18n/AppStrings.h"

#include <QMainWindow>

// The main window. Its creation runs the program's start-up: parameters,
// tool paths, profiles folder, language.
class TFormMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFormMain(QWidget *parent = nullptr);

    const TAppStrings &strings() const { return m_strings; }

private:
    TAppStrings m_strings;
};
