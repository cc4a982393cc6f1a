#include "encoding/SettingsLanguage.h"

#include "app/TextHelpers.h"
#include "encoding/SettingsTable.h"
#include "i18n/AppStrings.h"

#include <cmath>
#include <limits>

namespace {

// Typed numbers are recognised with blanks around them, as the command
// builders read them, so a language change never drops one. An aspect
// that is not the old word may be a typed one: it stays.
QString textInNewLanguage(
    TextValue value, const QString &text, const QString &oldAuto, const QString &newAuto)
{
    switch (value) {
    case TextValue::Integer:
        return IsValidInt(text.trimmed()) ? text : newAuto;
    case TextValue::FrameRate: {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return std::isnan(ParseFloatLenient(text.trimmed(), nan)) ? newAuto : text;
    }
    case TextValue::Aspect:
        return text == oldAuto ? newAuto : text;
    case TextValue::RotationAngle:
    case TextValue::FreeText:
        break;
    }
    return text;
}

} // namespace

void ApplyLanguageChange(EncodingSettings &s, EncodingLists &lists, const TAppStrings &oldStrings,
    const TAppStrings &newStrings)
{
    const QString &newAuto = newStrings.Main.Auto;

    if (!lists.cbResolution.isEmpty())
        lists.cbResolution[0] = newAuto;
    if (lists.cbResolution.size() > 1)
        lists.cbResolution[1] = newStrings.Main.Custom;
    if (!lists.cbAudioTrackNo.isEmpty())
        lists.cbAudioTrackNo[0] = newAuto + u' ' + newStrings.Main.FirstAudioTrack;

    for (const SettingDescriptor &d : SettingsTable())
        if (d.kind == SettingKind::EditableList)
            d.setText(s, textInNewLanguage(d.textValue, d.text(s), oldStrings.Main.Auto, newAuto));
}
