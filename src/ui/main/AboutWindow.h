#pragma once

#include "ui/common/BackgroundJobs.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
struct TAppParams;
struct TAppStrings;

// The about window: the program's facts in one formatted text, built from
// a template whose placeholder values are shown as text, with the versions
// of the tools this program finds (asked for off the window's thread each
// time it is shown). Stays on top; Esc, Close and the about command's
// shortcut close it.
class TFormAbout : public QDialog
{
    Q_OBJECT
public:
    TFormAbout(const TAppParams &params, QWidget *parent);

    // Title and text; the text is rebuilt from the template.
    void SetLang(const TAppStrings &strings);
    // The shown text (rich text).
    QString text() const;

Q_SIGNALS:
    // The tools' versions are in the text (tests).
    void versionsShown();

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Versions
    {
        QString ffmpeg;
        QString mediaInfo;
    };
    void updateText();

    const TAppParams &m_params;
    QString m_template;
    QString m_homePage;
    QString m_donation;
    QString m_notFound;
    // Shown while the tools are asked, and as "not found" when they are not.
    Versions m_versions{QStringLiteral("..."), QStringLiteral("...")};
    QLabel *m_text = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    // Asks the tools; one question at a time.
    static constexpr BackgroundJobs::Kind VersionsJob = 0;
    BackgroundJobs m_jobs{1};
};
