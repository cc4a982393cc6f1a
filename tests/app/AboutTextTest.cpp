#include "app/AboutText.h"
#include "app/AppParams.h"

#include <gtest/gtest.h>

namespace {

AboutFacts sampleFacts()
{
    AboutFacts f;
    f.appName = "Q";
    f.appVersion = "1.10  64-bit";
    f.appDate = "D";
    f.appAuthor = "A";
    f.ffmpegVersion = "F";
    f.mediaInfoVersion = "M";
    f.appUrl = "U";
    f.donation = "G";
    return f;
}

TEST(AboutText, PlaceholdersWithoutRegardToCaseTheUrlEverywhereTheOthersOnce)
{
    EXPECT_EQ(AboutText("%app_name% %App_Version% %APP_DATE% %APP_AUTHOR% %FFMPEG_VERSION% "
                        "%mediainfo_version% %DONATION%",
                  sampleFacts()),
        "Q 1.10 &nbsp;64-bit D A F M G");
    EXPECT_EQ(AboutText("%APP_URL%|%app_url%|%APP_NAME%|%APP_NAME%|%OTHER%|50%", sampleFacts()),
        "U|U|Q|%APP_NAME%|%OTHER%|50%");
    EXPECT_EQ(AboutText("%x%APP_NAME%", sampleFacts()), "%xQ");
}

TEST(AboutText, ValuesAreTextNeverMarkupNorPlaceholders)
{
    AboutFacts f = sampleFacts();
    f.donation = "<b>GIVE</b> & %APP_URL%";
    f.appUrl = "https://x.example/?a=\"1\"&b=<i>";
    EXPECT_EQ(AboutText("<a href=\"%APP_URL%\">%DONATION%</a>", f),
        "<a href=\"https://x.example/?a=&quot;1&quot;&amp;b=&lt;i&gt;\">"
        "&lt;b&gt;GIVE&lt;/b&gt; &amp; %APP_URL%</a>");
}

TEST(AboutText, ProgramTemplateInTheCataloguesWordsLeavesNoPlaceholder)
{
    const AboutLabels labels{"Versión", "Convierte con %s.", "Datos de %s <b>.", "Hecho con %s."};
    AboutFacts facts = ProgramAboutFacts("https://quillon.example/p/", "GIVE");
    facts.ffmpegVersion = "5.1.6";
    facts.mediaInfoVersion = "MediaInfo 23.04";
    const QString text = AboutText(AboutTemplate(labels, true), facts);
    EXPECT_FALSE(text.contains(u'%')) << text.toStdString();
    EXPECT_TRUE(text.contains("Versión 1.10 &nbsp;")) << text.toStdString();
    EXPECT_TRUE(text.contains("href=\"https://quillon.example/p/\"")) << text.toStdString();
    EXPECT_TRUE(text.contains("Convierte con <a href=\"https://ffmpeg.org/\">FFmpeg</a> (5.1.6)."))
        << text.toStdString();
    EXPECT_TRUE(text.contains(">MediaInfo 23.04</a> &lt;b&gt;.")) << text.toStdString();
    EXPECT_TRUE(text.contains("Qt</a> " + QString::fromLatin1(qVersion()))) << text.toStdString();
    // No home page, no empty link.
    EXPECT_FALSE(AboutText(AboutTemplate(labels, false), facts).contains("quillon.example"));
}

TEST(WebPages, PathsOnTheEffectiveSite)
{
    TAppParams params;
    // A build names no site unless configured with one.
    EXPECT_EQ(WebPageUrl(params, WebPage::HomePage).isEmpty(), BuiltInWebSite().isEmpty());
    params.WebSite = "https://mirror.example/q/";
    EXPECT_EQ(WebPageUrl(params, WebPage::QuickStart),
        "https://mirror.example/q/products/quillon/quickstart.php");
    EXPECT_EQ(WebPageUrl(params, WebPage::HomePage), "https://mirror.example/q/products/quillon/");
    EXPECT_EQ(WebPageUrl(params, WebPage::Donation), "https://mirror.example/q/donation/");
}

} // namespace
