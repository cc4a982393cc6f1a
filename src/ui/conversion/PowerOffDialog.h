#pragma once

#include "i18n/AppStrings.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QTimer;

// The countdown before the computer is switched off after a run: accepted
// when it runs out or the user chooses "Switch off now", rejected by Cancel
// (or Esc, or the close box).
class PowerOffDialog : public QDialog
{
    Q_OBJECT
public:
    PowerOffDialog(const TAppStrings &strings, int seconds, QWidget *parent = nullptr);

    int secondsLeft() const { return m_left; }

private:
    void tick();
    void showLeft();

    QString m_text;
    int m_seconds;
    int m_left;
    QLabel *m_label = nullptr;
    QProgressBar *m_bar = nullptr;
    QTimer *m_timer = nullptr;
};
