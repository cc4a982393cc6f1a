#include "encoding/SettingsClipboard.h"

#include "app/TextHelpers.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "encoding/SettingsTable.h"
#include "i18n/AppStrings.h"

namespace {

// Blanks around a typed number do not make it invalid: the command builders
// read the trimmed text, so the paste keeps what they would accept.
QString pastedText(TextValue value, const QString &text, const TAppStrings *strings)
{
    bool valid = true;
    switch (value) {
    case TextValue::Integer:
        valid = IsValidInt(text.trimmed());
        break;
    case TextValue::FrameRate:
        valid = IsNumberLikeText(text.trimmed());
        break;
    case TextValue::Aspect:
        valid = ParseAspectText(text);
        break;
    case TextValue::RotationAngle:
    case TextValue::FreeText:
        break;
    }
    if (valid)
        return text;
    Q_ASSERT(strings);
    return strings ? strings->Main.Auto : TAppStrings().Main.Auto;
}

// strings may be null for a group without a list that starts with "Auto".
template <typename Slot>
Slot copyGroup(SettingsGroup group, const EncodingSettings &s, const TAppStrings *strings)
{
    Slot p;
    for (const SettingDescriptor &d : SettingsTable()) {
        if (d.group != group)
            continue;
        d.copy(s, p.values);
        if (d.startsWithAuto()) {
            Q_ASSERT(strings);
            p.itemIndexes.insert(
                QLatin1String(d.control), EditableItemIndex(d.items(*strings), d.text(s)));
        }
    }
    return p;
}

// audioTrackCount: the entries of the current audio-track list, which
// describes the file selected now, not the one of the copy.
void pasteGroup(SettingsGroup group, EncodingSettings &s, const CopiedSettings &p,
    const TAppStrings *strings, int audioTrackCount = 0)
{
    for (const SettingDescriptor &d : SettingsTable()) {
        if (d.group != group)
            continue;
        if (d.kind == SettingKind::EditableList) {
            d.setText(s, pastedText(d.textValue, d.text(p.values), strings));
        } else if (d.source == ListSource::SelectedFile) {
            const int index = d.intValue(p.values);
            d.setInt(s, index >= 0 && index < audioTrackCount ? index : 0);
        } else {
            d.copy(p.values, s);
        }
    }
}

} // namespace

bool IsNumberLikeText(const QString &text)
{
    QString t = text;
    if (t.startsWith(u'+'))
        t.remove(0, 1);
    t = t.toUpper();
    if (t.lastIndexOf(u'-') > 0 || t.count(u'-') > 1 || t.count(u'E') > 1 || t.count(u'.') > 1
        || t.count(u',') > 1 || (t.contains(u'.') && t.contains(u',')))
        return false;
    for (QChar c : t)
        if (!c.isDigit() && c != u'E' && c != u',' && c != u'-' && c != u'.')
            return false;
    return true;
}

TCopyParams_AVI CopyVideoSettings_Avi(const EncodingSettings &s, const TAppStrings &strings)
{
    return copyGroup<TCopyParams_AVI>(SettingsGroup::Avi, s, &strings);
}

TCopyParams_MPG CopyVideoSettings_Mpg(const EncodingSettings &s, const TAppStrings &strings)
{
    return copyGroup<TCopyParams_MPG>(SettingsGroup::Mpg, s, &strings);
}

TCopyParams_Audio CopyAudioSettings(const EncodingSettings &s, const TAppStrings &strings)
{
    return copyGroup<TCopyParams_Audio>(SettingsGroup::Audio, s, &strings);
}

TCopyParams_Advanced CopyAdvancedSettings(const EncodingSettings &s)
{
    return copyGroup<TCopyParams_Advanced>(SettingsGroup::Advanced, s, nullptr);
}

void PasteVideoSettings_Avi(
    EncodingSettings &s, const TCopyParams_AVI &p, const TAppStrings &strings)
{
    pasteGroup(SettingsGroup::Avi, s, p, &strings);
    s.pcVideoFormat = EncodingSettings::tsAvi;
}

void PasteVideoSettings_Mpg(
    EncodingSettings &s, const TCopyParams_MPG &p, const TAppStrings &strings)
{
    pasteGroup(SettingsGroup::Mpg, s, p, &strings);
    s.pcVideoFormat = EncodingSettings::tsMpg;
}

void PasteAudioSettings(EncodingSettings &s, const TCopyParams_Audio &p, const TAppStrings &strings)
{
    pasteGroup(SettingsGroup::Audio, s, p, &strings);
}

void PasteAdvancedSettings(EncodingSettings &s, const TCopyParams_Advanced &p, int audioTrackCount)
{
    pasteGroup(SettingsGroup::Advanced, s, p, nullptr, audioTrackCount);
}

void DefaultVideoSettings_Avi(
    EncodingSettings &s, const TAppStrings &strings, int defaultVideoCodec)
{
    SetDefaultVideoSettings_Avi(s, strings, defaultVideoCodec);
    s.pcVideoFormat = EncodingSettings::tsAvi;
}

void DefaultVideoSettings_Mpg(EncodingSettings &s, const TAppStrings &strings)
{
    SetDefaultVideoSettings_Mpg(s, strings);
    s.pcVideoFormat = EncodingSettings::tsMpg;
}
