#pragma once

#include "app/FileLocations.h"
#include "i18n/AppStrings.h"

#include <QDialog>
#include <QTimer>
#include <QUrl>
#include <chrono>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class VersionFileFetcher;
struct TAppParams;

// The update check: fetches the version file from the program's web site,
// compares the published version with ours and says what it found, in one
// of four colour states. It runs only on request, and only for a portable
// copy with a web site: otherwise the window says that the package manager
// brings updates, and asks nobody.
class TFormCheckUpdate : public QDialog
{
    Q_OBJECT
public:
    enum class Status { None, Failed, NoUpdates, UpdateAvailable };

    // The web site is read from params at each check.
    TFormCheckUpdate(
        const TAppParams &params, const TAppStrings &strings, QWidget *parent = nullptr);

    // The main window's "Check for updates...": cleared, shown, and the
    // check starts a second later.
    void showAndCheck();
    // Colours of no state, an empty view, no download command.
    void ClearStatus();
    Status status() const { return m_status; }

    // For tests: another address than the web site's version file, and a
    // shorter time-out than the 15 s.
    void setVersionFileUrl(const QUrl &url) { m_versionFileUrl = url; }
    void setTimeout(std::chrono::milliseconds timeout);
    // The program's layout (found from its folder at construction).
    void setFileLayout(FileLayout layout) { m_layout = layout; }

public Q_SLOTS:
    void SetLang(const TAppStrings &strings);
    // Starts a check; its outcome follows when the server has answered.
    void checkNow();

Q_SIGNALS:
    void checkFinished(TFormCheckUpdate::Status status);

protected:
    void changeEvent(QEvent *event) override;

private:
    void showAnswer(const QByteArray &answer);
    void setStatus(Status status);
    void openDownloadPage();
    QString site() const;

    const TAppParams &m_params;
    TCheckUpdateModuleStrings m_texts;
    FileLayout m_layout;
    Status m_status = Status::None;
    QUrl m_versionFileUrl;
    QTimer tmCheckUpdate;
    VersionFileFetcher *m_fetcher;

    QLabel *lblUserVersionDesc;
    QLabel *lblUserVersion;
    QLabel *lblLatestVersionDesc;
    QLabel *lblLatestVersion;
    QPlainTextEdit *me;
    QPushButton *btnCheckNow;
    QPushButton *btnDownload;
    QPushButton *btnClose;
};
