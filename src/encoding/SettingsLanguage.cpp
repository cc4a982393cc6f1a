#include "encoding/SettingsLanguage.h"

#include "app/TextHelpers.h"
#include "i18n/AppStrings.h"

#include <cmath>
#include <limits>

namespace {

// Typed numbers are recognised with blanks around them, as the command
// builders read them, so a language change never drops one.
void keepIntegerOrAuto(QString &text, const QString &autoWord)
{
    if (!IsValidInt(text.trimmed()))
        text = autoWord;
}

void keepDecimalOrAuto(QString &text, const QString &autoWord)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (std::isnan(ParseFloatLenient(text.trimmed(), nan)))
        text = autoWord;
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

    keepIntegerOrAuto(s.cbAviVideoThreads, newAuto);
    keepIntegerOrAuto(s.cbAviVideoBitrate, newAuto);
    keepIntegerOrAuto(s.cbMpgVideoBitrate, newAuto);
    keepIntegerOrAuto(s.cbAudioBitrate, newAuto);
    keepIntegerOrAuto(s.cbAudioSampling, newAuto);
    keepDecimalOrAuto(s.cbAviVideoFPS, newAuto);
    keepDecimalOrAuto(s.cbMpgVideoFPS, newAuto);
    if (s.cbAviVideoAspect == oldStrings.Main.Auto)
        s.cbAviVideoAspect = newAuto;
}
