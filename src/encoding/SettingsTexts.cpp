#include "encoding/SettingsTexts.h"

#include "app/TextHelpers.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

bool IsAutoText(const QString &text, const TAppStrings &strings)
{
    return text.trimmed().toUpper() == strings.Main.Auto.toUpper();
}

bool IsValidTypedBitrate(const QString &text)
{
    return IsValidInt(text) && text.toInt() > 0;
}

QString FormatVolumeFactor(int position)
{
    // QString::number never uses the locale, so the separator is always ".".
    return QString::number(position / 100.0, 'f', 2);
}

QString AudioVolumeLabel(int position)
{
    return FormatVolumeFactor(position) + u'x';
}

QString TrackBarValueText(int position)
{
    if (position % 10 == 0)
        return QString::number(position / 10);
    QString text = QString::number(position / 10.0, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    return text;
}

QString MpgInfoText(int cbMpgVideo, const TAppStrings &strings)
{
    switch (cbMpgVideo) {
    case MpgVideo::PalDvd:
        return QStringLiteral("MPEG-2 / 720 x 576 / 25 fps / AC3");
    case MpgVideo::NtscDvd:
        return QStringLiteral("MPEG-2 / 720 x 480 / 29.970 fps / AC3");
    case MpgVideo::Custom:
        return strings.Main.MpgUserSettings;
    default:
        return {};
    }
}
