#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
struct TAppStrings;

// TFormCmdLine: the FFmpeg parameters of the selected file, read-only,
// monospaced and selectable, with commands to copy the whole text or the
// command a run would start, ready for a shell. It stays above the main
// window; Esc closes it.
class TFormCmdLine : public QWidget
{
    Q_OBJECT
public:
    explicit TFormCmdLine(QWidget *parent = nullptr);

    void SetLang(const TAppStrings &strings);
    // The text of the memo; CR LF line ends are shown as plain line breaks.
    // A refresh keeps the reader's place.
    void setText(const QString &text);
    QString text() const;
    void setMonospaceFont(const QFont &font);
    // The shell command needs a selected file.
    void setShellCommandAvailable(bool available);

Q_SIGNALS:
    // "Copy as shell command": the owner builds it (it knows the run).
    void shellCommandRequested();

private:
    QPlainTextEdit *m_me;
    QPushButton *m_copy;
    QPushButton *m_copyShell;
    QPushButton *m_close;
};
