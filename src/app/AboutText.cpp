#include "app/AboutText.h"

#include "app/AppInfo.h"
#include "app/ToolResolution.h"

#include <QRegularExpression>
#include <array>

AboutFacts ProgramAboutFacts(const QString &homePage, const QString &donationText)
{
    AboutFacts f;
    f.appName = QLatin1String(AppInfo::ProgramName);
    f.appVersion = AppInfo::ProgramVersionText();
    f.appDate = QLatin1String(AppInfo::ProgramDate);
    f.appAuthor = QLatin1String(AppInfo::ProgramAuthor);
    f.ffmpegVersion = FFmpegToolDescriptor().Version;
    f.mediaInfoVersion = QStringLiteral("MediaInfo ") + MediaInfoToolDescriptor().Version;
    f.appUrl = homePage;
    f.donation = donationText;
    return f;
}

QString AboutTemplate()
{
    return QStringLiteral(
        "<p style=\"font-size:x-large\"><b>%APP_NAME%</b></p>"
        "<p>Version %APP_VERSION% (%APP_DATE%)<br>Copyright &copy; %APP_AUTHOR%</p>"
        "<p><a href=\"%APP_URL%\">%APP_URL%</a></p>"
        "<p>Converts video and audio files in batches with "
        "<a href=\"https://ffmpeg.org/\">FFmpeg</a> (%FFMPEG_VERSION%).<br>"
        "File facts from <a href=\"https://mediaarea.net/MediaInfo\">%MEDIAINFO_VERSION%</a>.<br>"
        "Built with <a href=\"https://www.qt.io/\">Qt</a>.</p>");
}

QString AboutText(const QString &aboutTemplate, const AboutFacts &facts)
{
    struct Placeholder
    {
        QLatin1String name;
        const QString AboutFacts::*value;
        bool everyOccurrence;
    };
    static const std::array<Placeholder, 8> placeholders{{
        {QLatin1String("APP_NAME"), &AboutFacts::appName, false},
        {QLatin1String("APP_VERSION"), &AboutFacts::appVersion, false},
        {QLatin1String("APP_DATE"), &AboutFacts::appDate, false},
        {QLatin1String("APP_AUTHOR"), &AboutFacts::appAuthor, false},
        {QLatin1String("FFMPEG_VERSION"), &AboutFacts::ffmpegVersion, false},
        {QLatin1String("MEDIAINFO_VERSION"), &AboutFacts::mediaInfoVersion, false},
        {QLatin1String("APP_URL"), &AboutFacts::appUrl, true},
        {QLatin1String("DONATION"), &AboutFacts::donation, false},
    }};
    static const QRegularExpression pattern(
        QStringLiteral("%([A-Z_]+)(?=%)"), QRegularExpression::CaseInsensitiveOption);

    // One pass over the template, so that a value bringing in a placeholder
    // (or markup) is shown as it is. The closing "%" is only looked ahead
    // at: in "%x%APP_NAME%" it also opens the placeholder.
    std::array<bool, placeholders.size()> used{};
    QString text;
    qsizetype copied = 0;
    for (auto it = pattern.globalMatch(aboutTemplate); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1).toUpper();
        for (size_t i = 0; i < placeholders.size(); ++i) {
            const Placeholder &p = placeholders[i];
            if (name != p.name || (used[i] && !p.everyOccurrence))
                continue;
            used[i] = true;
            text += QStringView(aboutTemplate).mid(copied, m.capturedStart() - copied);
            // Rich text would fold "1.10  64-bit" into one blank.
            text += (facts.*p.value)
                        .toHtmlEscaped()
                        .replace(QStringLiteral("  "), QStringLiteral(" &nbsp;"));
            copied = m.capturedEnd() + 1; // past the closing "%"
            break;
        }
    }
    text += QStringView(aboutTemplate).mid(copied);
    return text;
}
