#include "encoding/SettingsTable.h"

#include "app/TextHelpers.h"
#include "encoding/Profiles.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

#include <QStandardPaths>
#include <algorithm>

namespace {

using ES = EncodingSettings;
using G = SettingsGroup;
namespace R = SettingRanges;

// The control's name and the field it names, spelled once.
template <typename T> struct Field
{
    const char *control;
    T ES::*member;
};
template <typename T> constexpr Field<T> field(const char *control, T ES::*member)
{
    return {control, member};
}
#define QLN_FIELD(name) field(#name, &ES::name)

struct Key
{
    const char *section = nullptr;
    const char *key = nullptr;
};

constexpr SettingDefault autoWord{SettingDefault::AutoWord};
constexpr SettingDefault number(int value)
{
    return {SettingDefault::Value, value};
}
constexpr SettingDefault text(const char *value)
{
    return {SettingDefault::Value, 0, value};
}

template <typename T>
constexpr SettingDescriptor row(Field<T> f, SettingKind kind, G group, Key key)
{
    SettingDescriptor d{f.control, f.member, kind, group};
    d.section = key.section;
    d.key = key.key;
    return d;
}

constexpr SettingDescriptor checkBox(Field<bool> f, G group, Key key = {})
{
    return row(f, SettingKind::CheckBox, group, key);
}

constexpr SettingDescriptor list(Field<int> f, G group, Key key, int count, ItemsFunction items,
    OutOfRange fix, SettingDefault def, const ProfileNames *names = nullptr)
{
    SettingDescriptor d = row(f, SettingKind::List, group, key);
    d.source = ListSource::BuiltIn;
    d.items = items;
    d.range = R::listOf(count);
    d.outOfRange = fix;
    d.defaultValue = def;
    d.profileNames = names;
    return d;
}

constexpr SettingDescriptor fileList(Field<int> f, G group, Key key, ListSource source,
    QStringList EncodingLists::*items, OutOfRange fix)
{
    SettingDescriptor d = row(f, SettingKind::List, group, key);
    d.source = source;
    d.fileItems = items;
    d.range = R::LateListIndex;
    d.outOfRange = fix;
    return d;
}

constexpr SettingDescriptor editable(
    Field<QString> f, G group, Key key, TextValue value, ItemsFunction items, SettingDefault def)
{
    SettingDescriptor d = row(f, SettingKind::EditableList, group, key);
    d.textValue = value;
    d.source = ListSource::BuiltIn;
    d.items = items;
    d.defaultValue = def;
    return d;
}

constexpr SettingDescriptor editableFromFile(Field<QString> f, G group, Key key, TextValue value,
    QStringList EncodingLists::*items, SettingDefault def)
{
    SettingDescriptor d = editable(f, group, key, value, nullptr, def);
    d.source = ListSource::DataFile;
    d.fileItems = items;
    return d;
}

// Memos and line edits.
constexpr SettingDescriptor textField(
    Field<QString> f, SettingKind kind, G group, Key key, SettingDefault def)
{
    SettingDescriptor d = row(f, kind, group, key);
    d.defaultValue = def;
    return d;
}

constexpr SettingDescriptor page(Field<int> f, Key key)
{
    SettingDescriptor d = row(f, SettingKind::Page, G::None, key);
    d.range = {ES::tsAvi, ES::tsMpg};
    d.defaultValue = number(ES::tsAvi);
    return d;
}

// Spin boxes and track bars.
constexpr SettingDescriptor ranged(
    Field<int> f, SettingKind kind, G group, Key key, SettingRange range, OutOfRange fix, int def)
{
    SettingDescriptor d = row(f, kind, group, key);
    d.range = range;
    d.outOfRange = fix;
    d.defaultValue = number(def);
    return d;
}

QStringList mpegVersionItems(const TAppStrings &)
{
    return MpegVersionItems();
}

QStringList rotateItems(const TAppStrings &)
{
    return RotateItems();
}

constexpr ProfileNames AviCodecNames{
    AviVideoCodecProfileName, AviVideoCodecFromProfileName, "XVID", "XVID"};
constexpr ProfileNames AudioCodecNames{
    AudioCodecProfileName, AudioCodecFromProfileName, "MP3", "AUTO"};

constexpr auto Spin = SettingKind::SpinBox;
constexpr auto Track = SettingKind::TrackBar;

// In the order profiles are written: section by section, each section's
// keys in order.
constexpr SettingDescriptor Table[] = {
    page(QLN_FIELD(pcVideoFormat), {"MAIN", "OutputFormat"}),

    list(QLN_FIELD(cbAviVideoCodec), G::Avi, {"AVI", "VideoCodec"}, AviCodec::Count,
        AviVideoCodecItems, OutOfRange::Default, {SettingDefault::VideoCodecOption},
        &AviCodecNames),
    editable(QLN_FIELD(cbAviVideoBitrate), G::Avi, {"AVI", "VideoBitrate"}, TextValue::Integer,
        AviVideoBitrateItems, autoWord),
    editable(QLN_FIELD(cbAviVideoFPS), G::Avi, {"AVI", "VideoFPS"}, TextValue::FrameRate,
        VideoFpsItems, autoWord),
    editable(QLN_FIELD(cbAviVideoAspect), G::Avi, {"AVI", "VideoAspect"}, TextValue::Aspect,
        AviVideoAspectItems, autoWord),
    checkBox(QLN_FIELD(chAviVideo2Pass), G::Avi, {"AVI", "Video2Pass"}),
    checkBox(QLN_FIELD(chAviVideoDontCopy), G::Avi, {"AVI", "DoNotCopyVideo"}),
    editable(QLN_FIELD(cbAviVideoThreads), G::Avi, {"AVI", "EncoderThreads"}, TextValue::Integer,
        AviVideoThreadsItems, autoWord),

    list(QLN_FIELD(cbMpgVideo), G::Mpg, {"MPG", "VideoFormat"}, MpgVideo::Count, MpgVideoItems,
        OutOfRange::NoSelection, number(MpgVideo::Custom)),
    list(QLN_FIELD(cbMpegVersion), G::Mpg, {"MPG", "MPEGVersion"}, MpegVersion::Count,
        mpegVersionItems, OutOfRange::NoSelection, number(MpegVersion::Mpeg1)),
    editable(QLN_FIELD(cbMpgVideoBitrate), G::Mpg, {"MPG", "VideoBitrate"}, TextValue::Integer,
        MpgVideoBitrateItems, autoWord),
    editable(QLN_FIELD(cbMpgVideoFPS), G::Mpg, {"MPG", "VideoFPS"}, TextValue::FrameRate,
        VideoFpsItems, autoWord),
    checkBox(QLN_FIELD(chMpgVideo2Pass), G::Mpg, {"MPG", "Video2Pass"}),
    checkBox(QLN_FIELD(chMpgVideoDontCopy), G::Mpg, {"MPG", "DoNotCopyVideo"}),

    list(QLN_FIELD(cbAudioCodec), G::Audio, {"AUDIO", "AudioCodec"}, AudioCodec::Count,
        AudioCodecItems, OutOfRange::Default, number(AudioCodec::Auto), &AudioCodecNames),
    editable(QLN_FIELD(cbAudioBitrate), G::Audio, {"AUDIO", "AudioBitrate"}, TextValue::Integer,
        AudioBitrateItems, autoWord),
    editable(QLN_FIELD(cbAudioSampling), G::Audio, {"AUDIO", "AudioSampling"}, TextValue::Integer,
        AudioSamplingItems, autoWord),
    list(QLN_FIELD(cbAudioChannels), G::Audio, {"AUDIO", "AudioChannels"}, AudioChannels::Count,
        AudioChannelsItems, OutOfRange::NoSelection, number(AudioChannels::Auto)),
    checkBox(QLN_FIELD(chAudioDontCopy), G::Audio, {"AUDIO", "DoNotCopyAudio"}),
    ranged(QLN_FIELD(tbAudioVolume), Track, G::Audio, {"AUDIO", "Volume"}, R::Volume,
        OutOfRange::Clamp, 100),

    fileList(QLN_FIELD(cbResolution), G::Advanced, {"ADVANCED", "Resolution"}, ListSource::DataFile,
        &EncodingLists::cbResolution, OutOfRange::Clamp),
    ranged(QLN_FIELD(spedResWidth), Spin, G::Advanced, {"ADVANCED", "ResWidth"}, R::ResSize,
        OutOfRange::Clamp, 854),
    ranged(QLN_FIELD(spedResHeight), Spin, G::Advanced, {"ADVANCED", "ResHeight"}, R::ResSize,
        OutOfRange::Clamp, 480),
    checkBox(QLN_FIELD(chVideoFourcc), G::Advanced, {"ADVANCED", "ForceVideoTag"}),
    editableFromFile(QLN_FIELD(cbVideoTag), G::Advanced, {"ADVANCED", "VideoTag"},
        TextValue::FreeText, &EncodingLists::cbVideoTag, text("XVID")),
    ranged(QLN_FIELD(spedCropTop), Spin, G::Advanced, {"ADVANCED", "CropTop"}, R::Crop,
        OutOfRange::Clamp, 0),
    ranged(QLN_FIELD(spedCropBottom), Spin, G::Advanced, {"ADVANCED", "CropBottom"}, R::Crop,
        OutOfRange::Clamp, 0),
    ranged(QLN_FIELD(spedCropLeft), Spin, G::Advanced, {"ADVANCED", "CropLeft"}, R::Crop,
        OutOfRange::Clamp, 0),
    ranged(QLN_FIELD(spedCropRight), Spin, G::Advanced, {"ADVANCED", "CropRight"}, R::Crop,
        OutOfRange::Clamp, 0),
    textField(QLN_FIELD(meParams), SettingKind::Memo, G::Advanced, {"ADVANCED", "AdditionalParams"},
        text("")),
    list(QLN_FIELD(cbInterlacing), G::Advanced, {"ADVANCED", "Interlacing"}, Interlacing::Count,
        InterlacingItems, OutOfRange::Default, number(Interlacing::Auto)),
    checkBox(QLN_FIELD(chConvertColors), G::Advanced, {"ADVANCED", "ConvertColors"}),
    list(QLN_FIELD(cbConvertColors), G::Advanced, {"ADVANCED", "ConvertColorsValue"},
        ConvertColors::Count, ConvertColorsItems, OutOfRange::Default,
        number(ConvertColors::Grayscale)),
    checkBox(QLN_FIELD(chBrightness), G::Advanced, {"ADVANCED", "Brightness"}),
    ranged(QLN_FIELD(tbBrightness), Track, G::Advanced, {"ADVANCED", "BrightnessValue"},
        R::Brightness, OutOfRange::Default, 0),
    checkBox(QLN_FIELD(chSaturation), G::Advanced, {"ADVANCED", "Saturation"}),
    ranged(QLN_FIELD(tbSaturation), Track, G::Advanced, {"ADVANCED", "SaturationValue"},
        R::Saturation, OutOfRange::Default, 10),
    checkBox(QLN_FIELD(chFlipHorizontal), G::Advanced, {"ADVANCED", "FlipHorizontal"}),
    checkBox(QLN_FIELD(chFlipVertical), G::Advanced, {"ADVANCED", "FlipVertical"}),
    checkBox(QLN_FIELD(chNegative), G::Advanced, {"ADVANCED", "Negative"}),
    checkBox(QLN_FIELD(chRotate), G::Advanced, {"ADVANCED", "Rotate"}),
    editable(QLN_FIELD(cbRotate), G::Advanced, {"ADVANCED", "RotateValue"},
        TextValue::RotationAngle, rotateItems, text("180")),
    // Not in profiles: the track applies by number to every converted file.
    fileList(QLN_FIELD(cbAudioTrackNo), G::Advanced, {}, ListSource::SelectedFile,
        &EncodingLists::cbAudioTrackNo, OutOfRange::Keep),

    // The output options, kept in the settings file.
    checkBox(QLN_FIELD(rbOutDir), G::None),
    checkBox(QLN_FIELD(chOutDirKeepTree), G::None),
    textField(
        QLN_FIELD(edOutDir), SettingKind::LineEdit, G::None, {}, {SettingDefault::DesktopFolder}),
    list(QLN_FIELD(cbOutputExists), G::None, {}, OutputExists::Count, OutputExistsItems,
        OutOfRange::NoSelection, number(OutputExists::Rename)),
    list(QLN_FIELD(cbAfterConversion), G::None, {}, AfterConversion::Count, AfterConversionItems,
        OutOfRange::NoSelection, number(AfterConversion::DoNothing)),
    checkBox(QLN_FIELD(chKeepDates), G::None),
    list(QLN_FIELD(cbSimultaneousConversions), G::None, {}, SimultaneousConversions::Count,
        SimultaneousConversionsItems, OutOfRange::Default, number(SimultaneousConversions::Auto)),
};

#undef QLN_FIELD

template <typename... F> struct Overloaded : F...
{
    using F::operator()...;
};
// Spelled out: not every compiler deduces an aggregate's arguments yet.
template <typename... F> Overloaded(F...) -> Overloaded<F...>;

QString boolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString defaultText(const SettingDescriptor &d, const TAppStrings *strings)
{
    switch (d.defaultValue.from) {
    case SettingDefault::AutoWord:
        Q_ASSERT(strings);
        return strings->Main.Auto;
    case SettingDefault::DesktopFolder:
        return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    default:
        return QString::fromUtf8(d.defaultValue.text);
    }
}

} // namespace

QString SettingDescriptor::text(const EncodingSettings &s) const
{
    return std::visit(
        Overloaded{[&](int ES::*m) { return QString::number(s.*m); },
            [&](bool ES::*m) { return boolText(s.*m); }, [&](QString ES::*m) { return s.*m; }},
        member);
}

int SettingDescriptor::intValue(const EncodingSettings &s) const
{
    return std::visit(
        Overloaded{[&](int ES::*m) { return s.*m; }, [&](bool ES::*m) { return s.*m ? 1 : 0; },
            [&](QString ES::*m) {
                const QString t = (s.*m).trimmed();
                return IsValidInt(t) ? t.toInt() : 0;
            }},
        member);
}

bool SettingDescriptor::boolValue(const EncodingSettings &s) const
{
    return intValue(s) != 0;
}

bool SettingDescriptor::setText(EncodingSettings &s, const QString &value) const
{
    if (auto m = std::get_if<QString ES::*>(&member)) {
        s.**m = value;
        return true;
    }
    const QString t = value.trimmed();
    if (!IsValidInt(t))
        return false;
    setInt(s, t.toInt());
    return true;
}

void SettingDescriptor::setInt(EncodingSettings &s, int value) const
{
    std::visit(
        Overloaded{[&](int ES::*m) { s.*m = value; }, [&](bool ES::*m) { s.*m = value != 0; },
            [&](QString ES::*m) { s.*m = QString::number(value); }},
        member);
}

void SettingDescriptor::setBool(EncodingSettings &s, bool value) const
{
    setInt(s, value ? 1 : 0);
}

void SettingDescriptor::copy(const EncodingSettings &from, EncodingSettings &to) const
{
    std::visit([&](auto m) { to.*m = from.*m; }, member);
}

bool SettingDescriptor::startsWithAuto() const
{
    return kind == SettingKind::EditableList
        && (textValue == TextValue::Integer || textValue == TextValue::FrameRate
            || textValue == TextValue::Aspect);
}

int SettingDescriptor::corrected(int value, int defaultVideoCodec) const
{
    const bool inRange = value >= range.min && value <= range.max;
    switch (outOfRange) {
    case OutOfRange::Keep:
        return value;
    case OutOfRange::NoSelection:
        return inRange ? value : -1;
    case OutOfRange::Default:
        return inRange ? value : DefaultNumber(*this, defaultVideoCodec);
    case OutOfRange::Clamp:
        return std::clamp(value, range.min, range.max);
    }
    return value;
}

std::span<const SettingDescriptor> SettingsTable()
{
    return Table;
}

const SettingDescriptor *FindSetting(QAnyStringView control)
{
    for (const SettingDescriptor &d : Table)
        if (QAnyStringView::equal(control, QLatin1StringView(d.control)))
            return &d;
    return nullptr;
}

const SettingDescriptor *FindProfileSetting(QAnyStringView section, QAnyStringView key)
{
    const auto same = [](QAnyStringView a, const char *b) {
        return QAnyStringView::compare(a, QLatin1StringView(b), Qt::CaseInsensitive) == 0;
    };
    for (const SettingDescriptor &d : Table)
        if (d.inProfiles() && same(section, d.section) && same(key, d.key))
            return &d;
    return nullptr;
}

int DefaultVideoCodecOrXvid(int defaultVideoCodec)
{
    return defaultVideoCodec >= 0 && defaultVideoCodec < AviCodec::Count ? defaultVideoCodec
                                                                         : AviCodec::Xvid;
}

int DefaultNumber(const SettingDescriptor &d, int defaultVideoCodec)
{
    return d.defaultValue.from == SettingDefault::VideoCodecOption
        ? DefaultVideoCodecOrXvid(defaultVideoCodec)
        : d.defaultValue.number;
}

QString DefaultText(const SettingDescriptor &d, const TAppStrings &strings)
{
    return defaultText(d, &strings);
}

void SetToDefault(const SettingDescriptor &d, EncodingSettings &s, const TAppStrings *strings,
    int defaultVideoCodec)
{
    if (std::holds_alternative<QString ES::*>(d.member))
        d.setText(s, defaultText(d, strings));
    else
        d.setInt(s, DefaultNumber(d, defaultVideoCodec));
}
