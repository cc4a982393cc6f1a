#include "encoding/SettingsDefaults.h"

#include "encoding/SettingsLists.h"
#include "encoding/SettingsTable.h"
#include "i18n/AppStrings.h"

namespace {

void setGroupDefaults(
    SettingsGroup group, EncodingSettings &s, const TAppStrings *strings, int defaultVideoCodec)
{
    for (const SettingDescriptor &d : SettingsTable())
        if (d.group == group)
            SetToDefault(d, s, strings, defaultVideoCodec);
}

} // namespace

int DefaultVideoCodecEntry(const QString &optionText)
{
    return optionText.trimmed().toUpper() == u"H.264" ? AviCodec::H264 : AviCodec::Xvid;
}

QString DefaultVideoCodecText(int entry)
{
    return entry == AviCodec::H264 ? QStringLiteral("H.264") : QStringLiteral("Xvid");
}

void SetDefaultVideoSettings_Avi(
    EncodingSettings &s, const TAppStrings &strings, int defaultVideoCodec)
{
    setGroupDefaults(SettingsGroup::Avi, s, &strings, defaultVideoCodec);
}

void SetDefaultVideoSettings_Mpg(EncodingSettings &s, const TAppStrings &strings)
{
    setGroupDefaults(SettingsGroup::Mpg, s, &strings, AviCodec::Xvid);
}

void SetDefaultAudioSettings(EncodingSettings &s, const TAppStrings &strings)
{
    setGroupDefaults(SettingsGroup::Audio, s, &strings, AviCodec::Xvid);
}

void SetDefaultAdvancedSettings(EncodingSettings &s)
{
    // No advanced setting defaults to the "Auto" word.
    setGroupDefaults(SettingsGroup::Advanced, s, nullptr, AviCodec::Xvid);
}

void SetDefaultParams(EncodingSettings &s, const TAppStrings &strings, int defaultVideoCodec)
{
    SetDefaultVideoSettings_Avi(s, strings, defaultVideoCodec);
    SetDefaultVideoSettings_Mpg(s, strings);
    SetDefaultAudioSettings(s, strings);
    SetDefaultAdvancedSettings(s);
    s.pcVideoFormat = EncodingSettings::tsAvi;
}

EncodingSettings DefaultEncodingSettings(const TAppStrings &strings, int defaultVideoCodec)
{
    EncodingSettings s;
    SetDefaultParams(s, strings, defaultVideoCodec);
    return s;
}
