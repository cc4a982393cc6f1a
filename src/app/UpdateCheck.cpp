#include "app/UpdateCheck.h"

#include "app/IniFile.h"

#include <QList>
#include <algorithm>

namespace {

QUrl onSite(const QString &webSite, QLatin1String path)
{
    QString site = webSite.trimmed();
    while (site.endsWith(u'/'))
        site.chop(1);
    return QUrl(site + path);
}

int effectivePort(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.port(scheme == u"https" ? 443 : scheme == u"http" ? 80 : -1);
}

QStringView withoutLeadingZeros(QStringView part)
{
    qsizetype i = 0;
    while (i < part.size() && part[i] == u'0')
        ++i;
    return part.mid(i);
}

// Delphi's Trim: every character up to the blank is cut from both ends.
QString trimControls(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

QString UpdateCheckSite(const QString &webSite, FileLayout layout)
{
    return layout == FileLayout::Portable ? webSite.trimmed() : QString();
}

QUrl VersionFileUrl(const QString &webSite)
{
    return onSite(webSite, QLatin1String("/products/quillon/ver.ini"));
}

QUrl DownloadPageUrl(const QString &webSite)
{
    return onSite(webSite, QLatin1String("/products/quillon/"));
}

bool IsRedirectAllowed(const QUrl &from, const QUrl &to)
{
    const QUrl target = from.resolved(to);
    return target.isValid() && target.scheme().compare(from.scheme(), Qt::CaseInsensitive) == 0
        && target.host().compare(from.host(), Qt::CaseInsensitive) == 0
        && effectivePort(target) == effectivePort(from) && target.userInfo().isEmpty();
}

bool IsVersionText(QStringView text)
{
    bool digit = false;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (c != u'.')
            return false;
    }
    return digit;
}

int CompareVersions(QStringView a, QStringView b)
{
    const QList<QStringView> pa = a.split(u'.');
    const QList<QStringView> pb = b.split(u'.');
    for (qsizetype i = 0; i < std::max(pa.size(), pb.size()); ++i) {
        // Compared as digit strings: longer is larger, so no part overflows.
        const QStringView na = i < pa.size() ? withoutLeadingZeros(pa[i]) : QStringView();
        const QStringView nb = i < pb.size() ? withoutLeadingZeros(pb[i]) : QStringView();
        if (na.size() != nb.size())
            return na.size() < nb.size() ? -1 : 1;
        if (const int c = na.compare(nb); c != 0)
            return c < 0 ? -1 : 1;
    }
    return 0;
}

UpdateCheckResult EvaluateVersionFile(const QByteArray &answer, QStringView ownVersion)
{
    UpdateCheckResult result;
    const QByteArray used = answer.left(VersionFileMaxBytes);
    if (used.isEmpty())
        return result;

    const QString text = trimControls(IniFile::decodeText(used));
    result.DownloadedText = VisibleText(text);
    result.Outcome = UpdateCheckOutcome::CannotCheck;

    IniFile ini;
    ini.loadFromBytes(text.toUtf8());
    const QString section = QStringLiteral("VersionInfo");
    const QString version = ini.readString(section, QStringLiteral("LastVersion")).trimmed();
    if (!IsVersionText(version))
        return result;
    result.LastVersion = version;
    result.ReleaseDate = VisibleText(ini.readString(section, QStringLiteral("ReleaseDate")));
    result.Outcome = CompareVersions(version, ownVersion) > 0 ? UpdateCheckOutcome::UpdateAvailable
                                                              : UpdateCheckOutcome::NoUpdates;
    return result;
}

QString UpdateAvailableText(const QString &message, const UpdateCheckResult &result)
{
    return message + QStringLiteral("\r\n\r\nLatest version: ") + result.LastVersion
        + QStringLiteral("\r\nRelease date: ") + result.ReleaseDate;
}

QString VisibleText(QStringView text)
{
    QString out = text.toString();
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        const bool control = u < 0x20 || (u >= 0x7F && u < 0xA0);
        if (control && u != u'\t' && u != u'\n' && u != u'\r')
            c = QChar(0xFFFD);
    }
    return out;
}
