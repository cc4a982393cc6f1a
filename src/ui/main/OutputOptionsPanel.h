#pragma once

#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SettingsOwner;
struct EncodingSettings;
struct TAppStrings;

// The output options below the file list (pnMid): where the output goes
// (gbOutputDir), what happens to an existing output file and after the
// conversion, how many files convert at once, and whether the files keep
// their dates. Bound to the output
// fields of the shared settings record: what the user changes is written
// there, and what others write there is shown.
class OutputOptionsPanel : public QWidget
{
    Q_OBJECT
public:
    // browse and explore: the commands behind the two buttons beside edOutDir.
    OutputOptionsPanel(
        QAction *browse, QAction *explore, SettingsOwner *owner, QWidget *parent = nullptr);

    void SetLang(const TAppStrings &strings);
    // edOutDir with the chosen folder (rbOutDir selected); the buttons
    // follow their commands.
    void setOutDirEnabled(bool on);

private:
    void showValues(const EncodingSettings &s);
    void storeValues(EncodingSettings &s) const;

    SettingsOwner *m_owner;
    QGroupBox *m_gbOutputDir = nullptr;
    QRadioButton *m_rbOutDirIsInDir = nullptr;
    QRadioButton *m_rbOutDir = nullptr;
    QCheckBox *m_chOutDirKeepTree = nullptr;
    QLineEdit *m_edOutDir = nullptr;
    QPushButton *m_btnBrowseOutDir = nullptr;
    QPushButton *m_btnExplore = nullptr;
    QLabel *m_lblIfOutputExists = nullptr;
    QComboBox *m_cbOutputExists = nullptr;
    QLabel *m_lblAfterConversion = nullptr;
    QComboBox *m_cbAfterConversion = nullptr;
    QLabel *m_lblSimultaneousConversions = nullptr;
    QComboBox *m_cbSimultaneousConversions = nullptr;
    QCheckBox *m_chKeepDates = nullptr;
};
