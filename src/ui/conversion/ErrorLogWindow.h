#pragma once

#include "app/AppParams.h"
#include "conversion/ErrorLog.h"
#include "i18n/AppStrings.h"

#include <QWidget>

class ErrorLogHighlighter;
class QPlainTextEdit;
class QPushButton;

// The error-log window: one entry per failed FFmpeg run of the current
// conversion, highlighted, with Clear, Save (as .log or .html) and Close.
// Closing only hides it; the log lives until the next run starts.
class TFormErrors : public QWidget
{
    Q_OBJECT
public:
    explicit TFormErrors(QWidget *owner = nullptr);
    ~TFormErrors() override;

    // SetLang.
    void SetLang(const TAppStrings &strings);
    void setMonospaceFont(const TFontParams &font);
    // Where the save dialog starts; by default the reports folder beside
    // the program (ReportSaveFolder).
    void setSaveFolder(const QString &folder);

    // The start of a run: no entries, the plain caption.
    void ClearErrorLog();
    // An entry as the run logged it.
    void addEntry(const QStringList &lines);
    // After a run with errors: "Errors (2)".
    void setCaptionText(const QString &caption);

    // Centred over the owner, in front.
    void showOverOwner();
    // "Show / hide error log" (F11).
    void toggleShown();

    const ErrorLog &log() const { return m_log; }
    QString viewText() const;
    // actSaveLogExecute: the save dialog, then the file. False when the user
    // cancels or writing fails (the failure is shown).
    bool saveLog();
    // The file under the name the format gives the chosen name; false with
    // errorText on failure.
    bool saveLogAs(const QString &chosenName, ErrorLogFormat format, QString *errorText = nullptr);

protected:
    void changeEvent(QEvent *event) override;

private:
    void clearLog();

    TAppStrings m_strings;
    ErrorLog m_log;
    QString m_caption; // empty: Errors.Caption
    QString m_saveFolder;
    QPlainTextEdit *m_me = nullptr;
    ErrorLogHighlighter *m_highlighter = nullptr;
    QPushButton *m_btnClear = nullptr;
    QPushButton *m_btnSave = nullptr;
    QPushButton *m_btnClose = nullptr;
};
