#pragma once

#include <QString>

// What the about window's placeholders stand for.
struct AboutFacts
{
    QString appName; // %APP_NAME%
    QString appVersion; // %APP_VERSION%: "1.10  64-bit"
    QString appDate; // %APP_DATE%
    QString appAuthor; // %APP_AUTHOR%
    QString ffmpegVersion; // %FFMPEG_VERSION%
    QString mediaInfoVersion; // %MEDIAINFO_VERSION%: "MediaInfo 20.09.0.0"
    QString appUrl; // %APP_URL%: the home page
    QString donation; // %DONATION%: About.Donation
};

// This program's facts, with its home page and the catalogue's donation text.
AboutFacts ProgramAboutFacts(const QString &homePage, const QString &donationText);

// The about window's rich text with its placeholders.
QString AboutTemplate();

// The template with its placeholders (matched without regard to case)
// replaced: %APP_URL% everywhere, every other one at its first occurrence.
// Values are inserted as plain text (markup escaped) and never searched for
// placeholders themselves.
QString AboutText(const QString &aboutTemplate, const AboutFacts &facts);
