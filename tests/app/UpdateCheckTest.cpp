#include "app/UpdateCheck.h"

#include <gtest/gtest.h>

TEST(UpdateCheck, VersionsCompareByNumberPerPart)
{
    // clang-format off
    const struct { const char *a, *b; int order; } cases[] = {
        {"1.10", "1.10", 0}, {"1.11", "1.10", 1}, {"1.9", "1.10", -1}, {"2.0", "1.10", 1},
        {"1.10.0", "1.10", 0}, {"01.010", "1.10", 0}, {"1.10.1", "1.10", 1}, {"0.99", "1.10", -1},
        {"99999999999999999999.1", "1.10", 1}, {"99999999999999999999", "99999999999999999998", 1},
    };
    // clang-format on
    for (const auto &c : cases) {
        EXPECT_EQ(CompareVersions(QString::fromLatin1(c.a), QString::fromLatin1(c.b)), c.order)
            << c.a;
        EXPECT_EQ(CompareVersions(QString::fromLatin1(c.b), QString::fromLatin1(c.a)), -c.order)
            << c.a;
    }
}

TEST(UpdateCheck, AnswersGiveOneOfTheOutcomes)
{
    using O = UpdateCheckOutcome;
    const QByteArray padding(VersionFileMaxBytes, ';');
    // clang-format off
    const struct { QByteArray answer; O outcome; const char *version, *date; } cases[] = {
        {"[VersionInfo]\r\nLastVersion=1.11\r\nReleaseDate=2024-05-01\r\n", O::UpdateAvailable, "1.11", "2024-05-01"},
        {"\xEF\xBB\xBF[versioninfo]\nlastversion = 2.0\n", O::UpdateAvailable, "2.0", ""},
        {"[VersionInfo]\nLastVersion=1.10\n", O::NoUpdates, "1.10", ""},
        {"[VersionInfo]\nLastVersion=1.9\n", O::NoUpdates, "1.9", ""},
        {"[VersionInfo]\nLastVersion=99999999999999999999.1\n", O::UpdateAvailable, "99999999999999999999.1", ""},
        {"[Version]\nLastVersion=1.11\n", O::CannotCheck, "", ""},
        {"[VersionInfo]\nLastVersion=\n", O::CannotCheck, "", ""},
        {"[VersionInfo]\nLastVersion=1.11<b>\n", O::CannotCheck, "", ""},
        {"[VersionInfo]\n" + padding + "\nLastVersion=1.11\n", O::CannotCheck, "", ""},
        {"<html><body>Not found</body></html>", O::CannotCheck, "", ""},
        {QByteArray("\x00\x01\xff\xfe[\x80\n", 7), O::CannotCheck, "", ""},
        {" \r\n\t ", O::CannotCheck, "", ""},
        {"", O::ConnectionFailed, "", ""},
    };
    // clang-format on
    for (const auto &c : cases) {
        const UpdateCheckResult r = EvaluateVersionFile(c.answer, u"1.10");
        EXPECT_EQ(r.Outcome, c.outcome) << c.answer.constData();
        EXPECT_EQ(r.LastVersion, QLatin1String(c.version)) << c.answer.constData();
        EXPECT_EQ(r.ReleaseDate, QLatin1String(c.date)) << c.answer.constData();
        for (const QChar ch : r.DownloadedText)
            EXPECT_TRUE(ch >= u' ' || ch == u'\n' || ch == u'\r' || ch == u'\t');
    }

    const UpdateCheckResult unknown = EvaluateVersionFile(" [Version]\nx=1 \n\n", u"1.10");
    EXPECT_EQ(unknown.DownloadedText, "[Version]\nx=1");
    EXPECT_EQ(UpdateAvailableText("New.", EvaluateVersionFile(cases[0].answer, u"1.10")),
        "New.\r\n\r\nLatest version: 1.11\r\nRelease date: 2024-05-01");
}

TEST(UpdateCheck, AddressesAndRedirects)
{
    EXPECT_EQ(VersionFileUrl("https://quillon.example/").toString(),
        "https://quillon.example/products/quillon/ver.ini");
    EXPECT_EQ(DownloadPageUrl(" https://quillon.example").toString(),
        "https://quillon.example/products/quillon/");

    const QUrl from("https://quillon.example/products/quillon/ver.ini");
    EXPECT_TRUE(IsRedirectAllowed(from, QUrl("https://QUILLON.example/new/ver.ini")));
    EXPECT_TRUE(IsRedirectAllowed(from, QUrl("/moved/ver.ini")));
    EXPECT_TRUE(IsRedirectAllowed(from, QUrl("https://quillon.example:443/ver.ini")));
    EXPECT_FALSE(IsRedirectAllowed(from, QUrl("https://evil.example/ver.ini")));
    EXPECT_FALSE(IsRedirectAllowed(from, QUrl("http://quillon.example/ver.ini")));
    EXPECT_FALSE(IsRedirectAllowed(from, QUrl("https://quillon.example:8443/ver.ini")));
    EXPECT_FALSE(IsRedirectAllowed(from, QUrl("file:///etc/passwd")));
    EXPECT_FALSE(IsRedirectAllowed(from, QUrl("https://user@quillon.example/ver.ini")));
}
