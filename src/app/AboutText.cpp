#include "app/AboutText.h"

#include "app/AppInfo.h"

#include <QRegularExpression>
#include <array>

AboutFacts ProgramAboutFacts(const QString &homePage, const QString &donationText)
{
    AboutFacts f;
    f.appName = QLatin1String(AppInfo::ProgramName);
    f.appVersion = AppInfo::ProgramVersionText();
    f.appDate = QLatin1String(AppInfo::ProgramDate);
    f.appAuthor = QLatin1String(AppInfo::ProgramAuthor);
    f.qtVersion = QString::fromLatin1(qVersion());
    f.appUrl = homePage;
    f.donation = donationText;
    return f;
}

namespace {

// A catalogue text as markup, its "%s" replaced by link.
QString withLink(const QString &label, const QString &link)
{
    QString text = label.toHtmlEscaped();
    return text.replace(QLatin1String("%s"), link);
}

} // namespace

QString AboutTemplate(const AboutLabels &labels, bool withHomePage)
{
    QString text = QStringLiteral("<p style=\"font-size:x-large\"><b>%APP_NAME%</b></p><p>")
        + labels.version.toHtmlEscaped()
        + QStringLiteral(" %APP_VERSION% (%APP_DATE%)<br>Copyright &copy; %APP_AUTHOR%</p>");
    if (withHomePage)
        text += QStringLiteral("<p><a href=\"%APP_URL%\">%APP_URL%</a></p>");
    text += QStringLiteral("<p>")
        + withLink(labels.convertsWith,
            QStringLiteral("<a href=\"https://ffmpeg.org/\">FFmpeg</a> (%FFMPEG_VERSION%)"))
        + QStringLiteral("<br>")
        + withLink(labels.factsFrom,
            QStringLiteral("<a href=\"https://mediaarea.net/MediaInfo\">%MEDIAINFO_VERSION%</a>"))
        + QStringLiteral("<br>")
        + withLink(
            labels.builtWith, QStringLiteral("<a href=\"https://www.qt.io/\">Qt</a> %QT_VERSION%"))
        + QStringLiteral("</p>");
    return text;
}

QString AboutText(const QString &aboutTemplate, const AboutFacts &facts)
{
    struct Placeholder
    {
        QLatin1String name;
        const QString AboutFacts::*value;
        bool everyOccurrence;
    };
    static const std::array<Placeholder, 9> placeholders{{
        {QLatin1String("APP_NAME"), &AboutFacts::appName, false},
        {QLatin1String("APP_VERSION"), &AboutFacts::appVersion, false},
        {QLatin1String("APP_DATE"), &AboutFacts::appDate, false},
        {QLatin1String("APP_AUTHOR"), &AboutFacts::appAuthor, false},
        {QLatin1String("FFMPEG_VERSION"), &AboutFacts::ffmpegVersion, false},
        {QLatin1String("MEDIAINFO_VERSION"), &AboutFacts::mediaInfoVersion, false},
        {QLatin1String("QT_VERSION"), &AboutFacts::qtVersion, false},
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
