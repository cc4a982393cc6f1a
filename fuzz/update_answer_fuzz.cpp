// The update check's reading of the web site's answer and of a redirect: the
// outcome agrees with the version comparison, nothing invisible reaches the
// window, and a redirect never leaves the site.

#include "FuzzSupport.h"

#include "app/UpdateCheck.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

bool hasHiddenControls(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 || (u >= 0x7F && u < 0xA0)) && u != u'\t' && u != u'\n' && u != u'\r')
            return true;
    }
    return false;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

void checkComparison(const QStringList &versions)
{
    for (const QString &a : versions) {
        QLN_FUZZ_CHECK(CompareVersions(a, a) == 0);
        for (const QString &b : versions) {
            const int ab = CompareVersions(a, b);
            QLN_FUZZ_CHECK(sign(ab) == -sign(CompareVersions(b, a)));
            for (const QString &c : versions)
                if (ab <= 0 && CompareVersions(b, c) <= 0)
                    QLN_FUZZ_CHECK(CompareVersions(a, c) <= 0);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray answer = Fuzz::bytesOf(data, size);
    for (const QString &own :
        {QStringLiteral("1.10"), QStringLiteral("0"), QStringLiteral("9.9.9")}) {
        const UpdateCheckResult result = EvaluateVersionFile(answer, own);
        QLN_FUZZ_CHECK(!hasHiddenControls(result.DownloadedText));
        QLN_FUZZ_CHECK(!hasHiddenControls(result.ReleaseDate));
        switch (result.Outcome) {
        case UpdateCheckOutcome::ConnectionFailed:
            QLN_FUZZ_CHECK(answer.isEmpty());
            break;
        case UpdateCheckOutcome::CannotCheck:
            QLN_FUZZ_CHECK(result.LastVersion.isEmpty());
            break;
        case UpdateCheckOutcome::NoUpdates:
            QLN_FUZZ_CHECK(IsVersionText(result.LastVersion));
            QLN_FUZZ_CHECK(CompareVersions(result.LastVersion, own) <= 0);
            break;
        case UpdateCheckOutcome::UpdateAvailable:
            QLN_FUZZ_CHECK(IsVersionText(result.LastVersion));
            QLN_FUZZ_CHECK(CompareVersions(result.LastVersion, own) > 0);
            break;
        }
    }

    // The version texts in the answer: the comparison is an order.
    const QString text = QString::fromUtf8(answer);
    QStringList versions;
    static const QRegularExpression versionText(QStringLiteral("[0-9.]+"));
    for (const QRegularExpressionMatch &m : versionText.globalMatch(text))
        if (versions.size() < 8 && IsVersionText(m.captured()))
            versions << m.captured();
    checkComparison(versions);

    // Each line as the target of a redirect from the version file.
    const QUrl from(QStringLiteral("https://quillon.example/products/quillon/ver.ini"));
    for (const QString &line : text.split(u'\n')) {
        const QUrl to(line.trimmed());
        if (!IsRedirectAllowed(from, to))
            continue;
        // Read again from its text, as the network layer sends it.
        const QUrl target(from.resolved(to).toString(QUrl::FullyEncoded));
        QLN_FUZZ_CHECK(target.scheme() == u"https");
        QLN_FUZZ_CHECK(target.host() == u"quillon.example");
        QLN_FUZZ_CHECK(target.port(443) == 443);
        QLN_FUZZ_CHECK(target.userInfo().isEmpty());
    }
    return 0;
}
