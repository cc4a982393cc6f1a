#pragma once

#include "encoding/EncodingSettings.h"

#include <QAnyStringView>
#include <QString>
#include <QStringList>
#include <limits>
#include <span>
#include <variant>

struct TAppStrings;

// The one list of the encoding settings: a descriptor per field of
// EncodingSettings. Profiles, the settings clipboard, the group defaults,
// the list normalisation, the language change and the settings panel all
// walk this table, so a new setting is one new row here (and its field).

// The control that shows a setting, and so the type of its field.
enum class SettingKind {
    CheckBox, // bool (the radio pair rbOutDir too)
    List, // int: an item index, -1 for no selection
    EditableList, // QString: the text; the items are only suggestions
    SpinBox, // int
    TrackBar, // int
    Memo, // QString, one or more lines
    LineEdit, // QString
    Page, // int: the active page of pcVideoFormat
};

// What an editable list's text holds. The first three lists start with
// the catalogue's "Auto" entry and fall back to it wherever a text fails
// its check.
enum class TextValue {
    Integer, // threads, bitrates, sampling
    FrameRate, // a decimal number, "," or "."
    Aspect, // anything ParseAspectText accepts
    RotationAngle, // whole degrees; profiles store 180 for anything else
    FreeText, // the video tag
};

// Where a list's items come from.
enum class ListSource {
    None,
    BuiltIn, // an items function of SettingsLists
    DataFile, // a data file (EncodingLists), so its length is known late
    SelectedFile, // the selected file's audio streams: applied by number
};

// How a value read from a profile that lies outside the range is corrected.
enum class OutOfRange {
    Keep,
    NoSelection, // -1, as a list control shows an index it does not have
    Default,
    Clamp,
};

// The settings groups: each has its own copy, paste and default commands.
enum class SettingsGroup { None, Avi, Mpg, Audio, Advanced };

struct SettingRange
{
    int min = 0;
    int max = 0;
    int step = 1;
};

// The ranges of the controls.
namespace SettingRanges {
inline constexpr SettingRange ResSize{2, 30000};
inline constexpr SettingRange Crop{0, 5000, 8};
inline constexpr SettingRange Volume{1, 300};
inline constexpr SettingRange Brightness{-20, 20};
inline constexpr SettingRange Saturation{1, 30};
// An index into a list whose length is known only with the list (a data
// file's, the selected file's): at least -1, checked against the list later.
inline constexpr SettingRange LateListIndex{-1, std::numeric_limits<int>::max()};
constexpr SettingRange listOf(int count)
{
    return {0, count - 1};
}
} // namespace SettingRanges

struct SettingDefault
{
    enum From {
        Value, // number (int and bool fields) or text (QString fields)
        AutoWord, // the catalogue's Main.Auto
        VideoCodecOption, // the AVI codec entry of the DefaultVideoCodec option
        DesktopFolder, // the user's desktop folder
    };
    From from = Value;
    int number = 0;
    const char *text = "";
};

// Lists whose profile value is a name (the codecs): the name of an item,
// the item of a name (-1 for an unknown one), the name written for no
// selection and the one read when the key is missing.
struct ProfileNames
{
    QString (*nameOf)(int index);
    int (*indexOf)(const QString &name, const TAppStrings &strings);
    const char *noSelection;
    const char *missing;
};

using SettingMember
    = std::variant<int EncodingSettings::*, bool EncodingSettings::*, QString EncodingSettings::*>;
using ItemsFunction = QStringList (*)(const TAppStrings &strings);

struct SettingDescriptor
{
    const char *control; // the field's name, which is the control's
    SettingMember member;
    SettingKind kind;
    SettingsGroup group = SettingsGroup::None;
    // Section and key in profiles; both null for a setting kept elsewhere
    // (the output options live in the settings file).
    const char *section = nullptr;
    const char *key = nullptr;
    TextValue textValue = TextValue::FreeText; // editable lists
    ListSource source = ListSource::None; // lists and editable lists
    ItemsFunction items = nullptr; // ListSource::BuiltIn
    QStringList EncodingLists::*fileItems = nullptr; // DataFile, SelectedFile
    SettingRange range{}; // int fields; a built-in list's is 0..count-1
    OutOfRange outOfRange = OutOfRange::Keep;
    SettingDefault defaultValue{};
    const ProfileNames *profileNames = nullptr;

    bool inProfiles() const { return section != nullptr; }
    // A text for every type: a number for int, "1" or "0" for bool.
    QString text(const EncodingSettings &s) const;
    // A number for every type: 1 or 0 for bool; a QString read as an
    // integer, 0 when it is not one.
    int intValue(const EncodingSettings &s) const;
    bool boolValue(const EncodingSettings &s) const;
    // An int or bool field takes a text only when it is an integer (a bool
    // any non-zero one); false, field unchanged, otherwise.
    bool setText(EncodingSettings &s, const QString &text) const;
    // A QString field takes the decimal text.
    void setInt(EncodingSettings &s, int value) const;
    void setBool(EncodingSettings &s, bool value) const;
    // Copies this field from one record into another.
    void copy(const EncodingSettings &from, EncodingSettings &to) const;
    // Whether the items start with the catalogue's "Auto" entry.
    bool startsWithAuto() const;
    // The corrected value of an int field read from a profile.
    int corrected(int value, int defaultVideoCodec) const;
};

std::span<const SettingDescriptor> SettingsTable();
// By control name (exact); null when none.
const SettingDescriptor *FindSetting(QAnyStringView control);
// By profile section and key, without regard to case; null when none.
const SettingDescriptor *FindProfileSetting(QAnyStringView section, QAnyStringView key);

// The AVI codec entry the DefaultVideoCodec option gives: an entry outside
// the codec list gives Xvid.
int DefaultVideoCodecOrXvid(int defaultVideoCodec);
// The default of an int or bool field (bool as 1 or 0) and of a QString one.
int DefaultNumber(const SettingDescriptor &d, int defaultVideoCodec);
QString DefaultText(const SettingDescriptor &d, const TAppStrings &strings);
// Sets a field to its default. strings may be null for a field whose
// default is not the "Auto" word.
void SetToDefault(const SettingDescriptor &d, EncodingSettings &s, const TAppStrings *strings,
    int defaultVideoCodec);
