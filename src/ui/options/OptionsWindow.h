#pragma once

#include <QDialog>
#include <QString>

class LanguageSwitcher;
class OptionsTarget;
class QCheckBox;
class QComboBox;
class QFontComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
struct TAppParams;
struct TAppStrings;

// The options window: the interface language, the file list's look, the
// analysis mode, the default video encoder, the files converted at once,
// the theme and the desktop shortcut. Every
// change takes effect at once; there is nothing to confirm. Closing hides it.
class TFormOptions : public QDialog
{
    Q_OBJECT
public:
    TFormOptions(OptionsTarget &target, LanguageSwitcher &languages, TAppParams &params,
        QWidget *parent = nullptr);

    // Fills every control from the current values; nothing is written back
    // meanwhile. Runs each time the window is shown or comes to the front.
    void InitControls();
    // Where "Create shortcut on the Desktop" writes: the user's desktop
    // folder unless set.
    void setDesktopFolder(const QString &folder) { m_desktopFolder = folder; }

public Q_SLOTS:
    void SetLang(const TAppStrings &strings);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void createFileListGroup();
    void connectControls();
    void InitCbLanguage();
    void createShortcutOnDesktop();
    // Runs a change handler unless the window is filling its controls.
    template <typename F> void changed(F &&apply);

    OptionsTarget &m_target;
    LanguageSwitcher &m_languages;
    TAppParams &m_params;
    QString m_desktopFolder;
    bool m_updating = false;

    QGroupBox *gbLanguage;
    QComboBox *cbLanguage;
    QGroupBox *pnFileList;
    QLabel *lblFileListFontName;
    QFontComboBox *cbFileListFont;
    QLabel *lblFileListFontSize;
    QSpinBox *edFileListFontSize;
    QLabel *lblFileListRowHeight;
    QSpinBox *edFileListRowHeight;
    QCheckBox *chFileListGridLines;
    QCheckBox *chFileListFooter;
    QCheckBox *chFileListRowIndicator;
    QCheckBox *chFileListAllowRowMoving;
    QCheckBox *chFileListAllowColumnMoving;
    QCheckBox *chFileListIconClickOpen;
    QLabel *lblFileListAnalysis;
    QComboBox *cbFileListFileAnalysis;
    QLabel *lblDefaultVideoCodec;
    QComboBox *cbDefaultVideoCodec;
    QLabel *lblSimultaneousConversions;
    QComboBox *cbSimultaneousConversions;
    QLabel *lblTheme;
    QComboBox *cbTheme;
    QPushButton *btnCreateShortcutOnDesktop;
    QPushButton *btnOK;
};
