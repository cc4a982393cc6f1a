#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
struct TAppParams;
struct TAppStrings;

// The about window: the program's facts in one formatted text, built from
// a template whose placeholder values are shown as text. Stays on top;
// Esc, Close and the about command's shortcut close it.
class TFormAbout : public QDialog
{
    Q_OBJECT
public:
    TFormAbout(const TAppParams &params, QWidget *parent);

    // Title and text; the text is rebuilt from the template.
    void SetLang(const TAppStrings &strings);
    // The shown text (rich text).
    QString text() const;

private:
    const TAppParams &m_params;
    const QString m_template;
    QLabel *m_text = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
