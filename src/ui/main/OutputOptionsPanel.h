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
struct EncodingSettings;
struct TAppStrings;

// The output options below the file list (pnMid): where the output goes
// (gbOutputDir), what happens to an existing output file and after the
// conversion, and whether the files keep their dates. Bound to the output
// fields of EncodingSettings.
class OutputOptionsPanel : public QWidget
{
    Q_OBJECT
public:
    // browse and explore: the commands behind the two buttons beside edOutDir.
    OutputOptionsPanel(QAction *browse, QAction *explore, QWidget *parent = nullptr);

    void SetLang(const TAppStrings &strings);
    void setValues(const EncodingSettings &s);
    void storeValues(EncodingSettings &s) const;
    // edOutDir with the chosen folder (rbOutDir selected); the buttons
    // follow their commands.
    void setOutDirEnabled(bool on);

Q_SIGNALS:
    // The user changed a value.
    void changed();

private:
    QGroupBox *m_gbOutputDir = nullptr;
    QRadioButton *m_rbOutDirIsInDir = nullptr;
    QRadioButton *m_rbOutDir = nullptr;
    QLineEdit *m_edOutDir = nullptr;
    QPushButton *m_btnBrowseOutDir = nullptr;
    QPushButton *m_btnExplore = nullptr;
    QLabel *m_lblIfOutputExists = nullptr;
    QComboBox *m_cbOutputExists = nullptr;
    QLabel *m_lblAfterConversion = nullptr;
    QComboBox *m_cbAfterConversion = nullptr;
    QCheckBox *m_chKeepDates = nullptr;
};
