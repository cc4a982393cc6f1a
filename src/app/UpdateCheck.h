#pragma once

#include "app/FileLocations.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QUrl>

// The update check: the version file published on the program's web site,
// its reading and the comparison with the program's own version. The
// download itself belongs to the window.

// Only the start of the answer is read; the version file is a few lines.
inline constexpr qsizetype VersionFileMaxBytes = 1024;
inline constexpr auto VersionFileUserAgent = "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 5.1)";

// The site asked for updates: only a portable copy with a web site asks.
// Installed, the system's package manager updates the program; empty then,
// and without a web site.
QString UpdateCheckSite(const QString &webSite, FileLayout layout);

// webSite + "/products/quillon/ver.ini" and + "/products/quillon/".
QUrl VersionFileUrl(const QString &webSite);
QUrl DownloadPageUrl(const QString &webSite);

// A redirect is followed only to the same scheme, host and port; any other
// target counts as a failed connection.
bool IsRedirectAllowed(const QUrl &from, const QUrl &to);

// Versions are dot-separated numbers compared part by part ("1.10" is newer
// than "1.9", "2.0" newer than "1.10"); a missing part counts as 0 and parts
// of any length compare without overflow. Negative, zero or positive as a is
// older, the same or newer than b. Both must be version texts.
int CompareVersions(QStringView a, QStringView b);
// Digits and dots with at least one digit.
bool IsVersionText(QStringView text);

enum class UpdateCheckOutcome { ConnectionFailed, CannotCheck, NoUpdates, UpdateAvailable };

struct UpdateCheckResult
{
    UpdateCheckOutcome Outcome = UpdateCheckOutcome::ConnectionFailed;
    // The answer as text, trimmed, with control characters made visible;
    // empty for a failed connection.
    QString DownloadedText;
    QString LastVersion; // set when the file names a version
    QString ReleaseDate;
};

// The outcome of an answer (at most VersionFileMaxBytes of it are read; an
// empty answer is a failed connection). A version file without the section
// VersionInfo, or whose LastVersion is missing or not a version, cannot be
// checked. A published version that is older than ours is no update.
UpdateCheckResult EvaluateVersionFile(const QByteArray &answer, QStringView ownVersion);

// What the window shows when an update exists: message (already formatted),
// an empty line, "Latest version: ..." and "Release date: ...", CR LF ends.
QString UpdateAvailableText(const QString &message, const UpdateCheckResult &result);

// Text from outside shown as it is: control characters other than tab and
// line ends become U+FFFD, so nothing invisible hides in it.
QString VisibleText(QStringView text);
