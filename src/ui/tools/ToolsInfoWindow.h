#pragma once

#include "ui/common/BackgroundJobs.h"

#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QPushButton;
struct TAppParams;
struct TAppStrings;

// The report on the FFmpeg program and the MediaInfo library in use, the
// same text as "quillon-cli tools", built afresh each time the window is
// shown. Building it runs FFmpeg, so it happens on a worker thread.
class TFormToolsInfo : public QDialog
{
    Q_OBJECT
public:
    // The tools are those of params at the time the window is shown.
    TFormToolsInfo(const TAppParams &params, const TAppStrings &strings, QWidget *parent = nullptr);

    // The report as built (CR LF line ends), what Copy and Save hand on.
    const QString &report() const { return m_report; }

public Q_SLOTS:
    void SetLang(const TAppStrings &strings);
    // Builds the report again; the view says "Please wait..." meanwhile.
    void refresh();

Q_SIGNALS:
    // The new report, or the reason it could not be built, is in the view.
    void reportShown();

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Outcome
    {
        bool ok = false;
        QString text; // the report, or why it failed
    };
    void showOutcome(const Outcome &outcome);
    void copyReport();
    void saveReport();

    const TAppParams &m_params;
    QString m_report;
    QString m_pleaseWait;
    QString m_saveFilter;

    QPlainTextEdit *me;
    QPushButton *btnCopy;
    QPushButton *btnSave;
    QPushButton *btnClose;
    // One report at a time: a refresh drops the one under way. Last, so
    // the report job ends before the rest goes.
    static constexpr BackgroundJobs::Kind ReportJob = 0;
    BackgroundJobs m_jobs{1};
};
