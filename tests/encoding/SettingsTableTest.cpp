#include "encoding/SettingsTable.h"
#include "encoding/Profiles.h"
#include "encoding/SettingsClipboard.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The number of fields of an aggregate: the most initialisers it takes.
struct AnyField
{
    template <typename T> operator T() const;
};

template <typename T, typename... Fields> constexpr int fieldCount()
{
    if constexpr (requires { T{Fields{}..., AnyField{}}; })
        return fieldCount<T, Fields..., AnyField>();
    else
        return int(sizeof...(Fields));
}

EncodingSettings defaults()
{
    return DefaultEncodingSettings(TAppStrings(), AviCodec::Xvid);
}

// Moves a setting to a valid value other than the one it has, as its
// control could show it; a list read from a file gets entry 3.
void changeValue(const SettingDescriptor &d, EncodingSettings &s)
{
    const int other = d.intValue(s) == d.range.max ? d.range.min : d.range.max;
    switch (d.kind) {
    case SettingKind::CheckBox:
        d.setBool(s, !d.boolValue(s));
        return;
    case SettingKind::Page:
    case SettingKind::SpinBox:
    case SettingKind::TrackBar:
        d.setInt(s, other);
        return;
    case SettingKind::List:
        d.setInt(s, d.source == ListSource::BuiltIn ? other : 3);
        return;
    case SettingKind::Memo:
        d.setText(s, u"-metadata title=\"a b\""_s);
        return;
    case SettingKind::LineEdit:
        d.setText(s, u"/videos/out"_s);
        return;
    case SettingKind::EditableList:
        break;
    }
    switch (d.textValue) {
    case TextValue::Integer:
        d.setText(s, u"7"_s);
        return;
    case TextValue::FrameRate:
        d.setText(s, u"23.976"_s);
        return;
    case TextValue::Aspect:
        d.setText(s, u"4:3"_s);
        return;
    case TextValue::RotationAngle:
        d.setText(s, u"90"_s);
        return;
    case TextValue::FreeText:
        d.setText(s, u"DIVX"_s);
        return;
    }
}

TEST(SettingsTable, OneDescriptorPerField)
{
    ASSERT_EQ(int(SettingsTable().size()), fieldCount<EncodingSettings>());
    // Each descriptor changes its own field and no other descriptor's, so
    // with the count above every field has exactly one.
    const EncodingSettings base = defaults();
    for (const SettingDescriptor &d : SettingsTable()) {
        EncodingSettings changed = base;
        changeValue(d, changed);
        EXPECT_FALSE(changed == base) << d.control;
        for (const SettingDescriptor &other : SettingsTable()) {
            if (&other == &d)
                continue;
            EXPECT_EQ(other.text(changed), other.text(base)) << d.control << " " << other.control;
        }

        EXPECT_EQ(FindSetting(QLatin1String(d.control)), &d);
        if (d.inProfiles()) {
            EXPECT_EQ(FindProfileSetting(QString::fromLatin1(d.section).toLower(),
                          QString::fromLatin1(d.key).toUpper()),
                &d)
                << d.control;
        }
    }
    EXPECT_EQ(FindSetting(u"cbaviVideoCodec"), nullptr);
    EXPECT_EQ(FindProfileSetting(u"MAIN", u"AppName"), nullptr);
}

TEST(SettingsTable, EveryProfileKeyRoundTrips)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"p.ini"_s);
    for (const SettingDescriptor &d : SettingsTable()) {
        if (!d.inProfiles())
            continue;
        EncodingSettings s = defaults();
        changeValue(d, s);
        ASSERT_TRUE(SaveProfile(path, s, TAppStrings())) << d.control;
        EncodingSettings loaded = defaults();
        ASSERT_TRUE(LoadProfile(path, loaded, TAppStrings(), AviCodec::Xvid)) << d.control;
        EXPECT_EQ(d.text(loaded), d.text(s)) << d.control;
        EXPECT_TRUE(loaded == s) << d.control;
    }
}

// Each group's copy carries its settings and no other; its paste and its
// default change its settings and no other (the video pastes also switch
// the page).
TEST(SettingsTable, EveryGroupSettingTravelsWithItsGroupOnly)
{
    const TAppStrings strings;
    using ES = EncodingSettings;
    using Paste = std::function<void(ES &)>;
    struct Commands
    {
        SettingsGroup group;
        std::function<Paste(const ES &)> copy;
        std::function<void(ES &)> setDefault;
    };
    const Commands groups[] = {
        {SettingsGroup::Avi,
            [&](const ES &s) -> Paste {
                const TCopyParams_AVI p = CopyVideoSettings_Avi(s, strings);
                return [=, &strings](ES &t) { PasteVideoSettings_Avi(t, p, strings); };
            },
            [&](ES &s) { SetDefaultVideoSettings_Avi(s, strings, AviCodec::Xvid); }},
        {SettingsGroup::Mpg,
            [&](const ES &s) -> Paste {
                const TCopyParams_MPG p = CopyVideoSettings_Mpg(s, strings);
                return [=, &strings](ES &t) { PasteVideoSettings_Mpg(t, p, strings); };
            },
            [&](ES &s) { SetDefaultVideoSettings_Mpg(s, strings); }},
        {SettingsGroup::Audio,
            [&](const ES &s) -> Paste {
                const TCopyParams_Audio p = CopyAudioSettings(s, strings);
                return [=, &strings](ES &t) { PasteAudioSettings(t, p, strings); };
            },
            [&](ES &s) { SetDefaultAudioSettings(s, strings); }},
        {SettingsGroup::Advanced,
            [&](const ES &s) -> Paste {
                const TCopyParams_Advanced p = CopyAdvancedSettings(s);
                return [=](ES &t) { PasteAdvancedSettings(t, p, 4); };
            },
            [&](ES &s) { SetDefaultAdvancedSettings(s); }},
    };
    const ES base = defaults();
    for (const SettingDescriptor &d : SettingsTable()) {
        if (d.kind == SettingKind::Page)
            continue;
        ES changed = base;
        changeValue(d, changed);
        const QString changedText = d.text(changed);
        const QString defaultText = d.text(base);
        for (const Commands &g : groups) {
            const bool own = g.group == d.group;
            const std::string title
                = std::string(d.control) + ", group " + std::to_string(int(g.group));
            ES target = base;
            g.copy(changed)(target);
            EXPECT_EQ(d.text(target), own ? changedText : defaultText) << "copied: " << title;
            target = changed;
            g.copy(base)(target);
            EXPECT_EQ(d.text(target), own ? defaultText : changedText) << "pasted: " << title;
            target = changed;
            g.setDefault(target);
            EXPECT_EQ(d.text(target), own ? defaultText : changedText) << "default: " << title;
        }
    }
}

TEST(SettingsTable, ValuesAsTextNumberAndFlag)
{
    EncodingSettings s = defaults();
    const SettingDescriptor &volume = *FindSetting(u"tbAudioVolume");
    const SettingDescriptor &twoPass = *FindSetting(u"chAviVideo2Pass");
    const SettingDescriptor &bitrate = *FindSetting(u"cbAviVideoBitrate");

    EXPECT_EQ(volume.text(s), u"100"_s);
    EXPECT_TRUE(volume.setText(s, u" 42 "_s));
    EXPECT_EQ(s.tbAudioVolume, 42);
    EXPECT_FALSE(volume.setText(s, u"4x"_s));
    EXPECT_EQ(s.tbAudioVolume, 42);

    EXPECT_TRUE(twoPass.setText(s, u"2"_s));
    EXPECT_TRUE(s.chAviVideo2Pass);
    EXPECT_EQ(twoPass.text(s), u"1"_s);
    EXPECT_EQ(twoPass.intValue(s), 1);

    bitrate.setInt(s, 1500);
    EXPECT_EQ(s.cbAviVideoBitrate, u"1500"_s);
    EXPECT_EQ(bitrate.intValue(s), 1500);
    EXPECT_TRUE(bitrate.setText(s, u"fast"_s));
    EXPECT_EQ(bitrate.intValue(s), 0);
    EXPECT_FALSE(bitrate.boolValue(s));
}

} // namespace
