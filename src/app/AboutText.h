#pragma once

#include <QString>

// What the about window's placeholders stand for.
struct AboutFacts
{
    QString appName; // %APP_NAME%
    QString appVersion; // %APP_VERSION%: "1.10  64-bit"
    QString appDate; // %APP_DATE%
    QString appAuthor; // %APP_AUTHOR%
    QString ffmpegVersion; // %FFMPEG_VERSION%: of the FFmpeg found
    QString mediaInfoVersion; // %MEDIAINFO_VERSION%: "MediaInfo 23.04"
    QString qtVersion; // %QT_VERSION%: of the Qt in use
    QString appUrl; // %APP_URL%: the home page
    QString donation; // %DONATION%: About.Donation
};

// This program's facts, with its home page and the catalogue's donation
// text; the tools' versions are the caller's to find.
AboutFacts ProgramAboutFacts(const QString &homePage, const QString &donationText);

// The template's words, from the catalogue; "%s" marks where the tool's
// link goes.
struct AboutLabels
{
    QString version; // "Version"
    QString convertsWith; // "Converts video and audio files in batches with %s."
    QString factsFrom; // "File facts from %s."
    QString builtWith; // "Built with %s."
};

// The about window's rich text with its placeholders; the home page's line
// only when there is one.
QString AboutTemplate(const AboutLabels &labels, bool withHomePage);

// The template with its placeholders (matched without regard to case)
// replaced: %APP_URL% everywhere, every other one at its first occurrence.
// Values are inserted as plain text (markup escaped) and never searched for
// placeholders themselves.
QString AboutText(const QString &aboutTemplate, const AboutFacts &facts);
