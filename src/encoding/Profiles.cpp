#include "encoding/Profiles.h"

#include "app/AppInfo.h"
#include "app/IniFile.h"
#include "app/TextHelpers.h"
#include "encoding/SettingsLists.h"
#include "encoding/SettingsTable.h"
#include "i18n/AppStrings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The MAIN keys that describe the file rather than a setting: AppName and
// AppVer are written before every setting, the others are read by the
// profile list only.
struct FileKey
{
    const char *name;
    const char *written; // null: never written
};

constexpr const char *MainSection = "MAIN";
constexpr FileKey FileKeys[] = {
    {"AppName", AppInfo::ProgramName},
    {"AppVer", AppInfo::ProgramVersion},
    {"DisplayName", nullptr},
    {"SortIndex", nullptr},
    {"BgColor", nullptr},
    {"FontColor", nullptr},
};

constexpr const char *LoadOrder[] = {"MAIN", "AVI", "AUDIO", "MPG", "ADVANCED"};

bool isFileKey(const QString &section, const QString &key)
{
    if (section.compare(QLatin1String(MainSection), Qt::CaseInsensitive) != 0)
        return false;
    return std::any_of(std::begin(FileKeys), std::end(FileKeys), [&](const FileKey &k) {
        return key.compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0;
    });
}

QString integerTextOrEmpty(const QString &text)
{
    const QString trimmed = text.trimmed();
    return IsValidInt(trimmed) ? trimmed : QString();
}

// The memo's lines joined by single spaces, as the additional parameters
// are passed on.
QString joinedParams(const QString &meParams)
{
    static const QRegularExpression lineBreak(u"\r\n|\n|\r"_s);
    QString joined;
    for (const QString &line : meParams.split(lineBreak))
        joined += u' ' + line;
    return joined.trimmed();
}

int rotationAngle(const QString &text)
{
    const QString trimmed = text.trimmed();
    return IsValidInt(trimmed) ? trimmed.toInt() : 180;
}

// An integer value, or the current one when the text is not an integer.
int integerOr(const QString &value, int current)
{
    int parsed = current;
    return IniFile::parseInteger(value, &parsed) ? parsed : current;
}

// The text written for an editable list. "Auto" is written as empty: the
// word depends on the language.
QString savedText(TextValue value, const QString &text, const TAppStrings &strings)
{
    switch (value) {
    case TextValue::Integer:
        return integerTextOrEmpty(text);
    case TextValue::FrameRate:
        return text == strings.Main.Auto ? QString() : text;
    case TextValue::Aspect: {
        const QString aspect = text.trimmed();
        return aspect == strings.Main.Auto ? QString() : aspect;
    }
    case TextValue::RotationAngle:
        return QString::number(rotationAngle(text));
    case TextValue::FreeText:
        break;
    }
    return text;
}

QString loadedText(
    TextValue value, const QString &read, const QString &current, const TAppStrings &strings)
{
    const QString &autoWord = strings.Main.Auto;
    switch (value) {
    case TextValue::Integer:
        return IsValidInt(read) ? read : autoWord;
    case TextValue::FrameRate:
        return read.isEmpty() ? autoWord : read;
    case TextValue::Aspect:
        return read.isEmpty() || !ParseAspectText(read) ? autoWord : read;
    case TextValue::RotationAngle:
        return QString::number(integerOr(read, rotationAngle(current)));
    case TextValue::FreeText:
        break;
    }
    return read;
}

QString savedValue(
    const SettingDescriptor &d, const EncodingSettings &s, const TAppStrings &strings)
{
    if (d.profileNames) {
        const QString name = d.profileNames->nameOf(d.intValue(s));
        return name.isEmpty() ? QString::fromLatin1(d.profileNames->noSelection) : name;
    }
    switch (d.kind) {
    case SettingKind::Page:
        return d.intValue(s) == EncodingSettings::tsMpg ? u"MPG"_s : u"AVI"_s;
    case SettingKind::Memo:
        return joinedParams(d.text(s)).replace(u'"', u"&quot;"_s);
    case SettingKind::EditableList:
        return savedText(d.textValue, d.text(s), strings);
    default:
        return d.text(s);
    }
}

// What loading reads for a key the file lacks: the current value, so the
// corrections still run; a fixed name for the codecs; nothing for the
// additional parameters, which then stay.
std::optional<QString> missingValue(
    const SettingDescriptor &d, const EncodingSettings &s, const TAppStrings &strings)
{
    if (d.profileNames)
        return QString::fromLatin1(d.profileNames->missing);
    if (d.kind == SettingKind::Memo)
        return std::nullopt;
    return savedValue(d, s, strings);
}

void applyValue(const SettingDescriptor &d, EncodingSettings &s, const QString &value,
    const TAppStrings &strings, int defaultVideoCodec)
{
    if (d.profileNames) {
        const int index
            = IsValidInt(value) ? value.toInt() : d.profileNames->indexOf(value, strings);
        d.setInt(s, d.corrected(index, defaultVideoCodec));
        return;
    }
    switch (d.kind) {
    case SettingKind::CheckBox:
        d.setBool(s, integerOr(value, d.intValue(s)) != 0);
        return;
    case SettingKind::Page:
        d.setInt(s, value.toUpper() == u"MPG" ? EncodingSettings::tsMpg : EncodingSettings::tsAvi);
        return;
    case SettingKind::Memo:
        d.setText(s, QString(value).replace(u"&quot;"_s, u"\""_s));
        return;
    case SettingKind::EditableList:
        d.setText(s, loadedText(d.textValue, value, d.text(s), strings));
        return;
    case SettingKind::LineEdit:
        d.setText(s, value);
        return;
    case SettingKind::List:
    case SettingKind::SpinBox:
    case SettingKind::TrackBar:
        // A value that is not an integer leaves the current one, corrected.
        d.setInt(s, d.corrected(integerOr(value, d.intValue(s)), defaultVideoCodec));
        return;
    }
}

int codecFromName(const QString &name, const QString &copyText,
    std::initializer_list<std::pair<const char *, int>> names)
{
    QString key = name.toUpper();
    if (key == copyText.toUpper())
        key = u"COPY"_s;
    key.remove(u' ').remove(u'.').remove(u'-');
    for (const auto &[text, index] : names)
        if (key == QLatin1String(text))
            return index;
    return -1;
}

bool isHex(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!c.isDigit() && !(c >= u'a' && c <= u'f') && !(c >= u'A' && c <= u'F'))
            return false;
    return true;
}

uint32_t rgbToStored(uint32_t r, uint32_t g, uint32_t b)
{
    return r | (g << 8) | (b << 16);
}

bool parseDecimalTriple(QString text, uint32_t &color)
{
    text = text.trimmed();
    if (text.startsWith(u'(') && text.endsWith(u')'))
        text = text.mid(1, text.size() - 2);
    static const QRegularExpression separators(u"[,\\s]+"_s);
    const QStringList parts = text.trimmed().split(separators, Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return false;
    uint32_t c[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const uint v = parts[i].toUInt(&ok, 10);
        if (!ok || v > 255)
            return false;
        c[i] = v;
    }
    color = rgbToStored(c[0], c[1], c[2]);
    return true;
}

} // namespace

int AviVideoCodecFromProfileName(const QString &name, const TAppStrings &strings)
{
    using namespace AviCodec;
    return codecFromName(name, strings.Main.cbAviVideoCodec_Copy,
        {{"XVID", Xvid}, {"DIVX3", DivX3}, {"DX3", DivX3}, {"MSMPEG4", DivX3}, {"H264", H264},
            {"X264", H264}, {"FFMPEG4", FFMpeg4}, {"MPEG4", FFMpeg4}, {"MSMPEG4V2", MsMpeg4V2},
            {"MP42", MsMpeg4V2}, {"WMV1", Wmv1}, {"WMVV1", Wmv1}, {"WMV2", Wmv2}, {"WMVV2", Wmv2},
            {"WMV", Wmv2}, {"MOTIONJPEG", MotionJpeg}, {"MJPEG", MotionJpeg}, {"JPG", MotionJpeg},
            {"JPEG", MotionJpeg}, {"HUFFYUV", HuffYUV}, {"COPY", Copy}});
}

int AudioCodecFromProfileName(const QString &name, const TAppStrings &strings)
{
    using namespace AudioCodec;
    return codecFromName(name, strings.Main.cbAudioCodec_Copy,
        {{"AUTO", Auto}, {"MP3", Mp3}, {"MP2", Mp2}, {"AC3", Ac3}, {"AAC", Aac}, {"WMA1", Wma1},
            {"WMAV1", Wma1}, {"WMA2", Wma2}, {"WMAV2", Wma2}, {"WMA", Wma2}, {"PCM", Pcm},
            {"WAV", Pcm}, {"COPY", Copy}});
}

bool ApplyProfileKey(EncodingSettings &s, const QString &section, const QString &key,
    const QString &value, const TAppStrings &strings, int defaultVideoCodec)
{
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    if (const SettingDescriptor *d = FindProfileSetting(sectionName, keyName)) {
        applyValue(
            *d, s, value.trimmed().left(IniFile::MaxValueLength), strings, defaultVideoCodec);
        return true;
    }
    return isFileKey(sectionName, keyName);
}

bool SaveProfile(const QString &presetFile, const EncodingSettings &s, const TAppStrings &strings,
    QString *errorText)
{
    IniFile ini(presetFile);
    // A missing file starts empty; one that exists but cannot be read must
    // not be replaced by our keys alone.
    if (!ini.load() && QFileInfo::exists(presetFile)) {
        if (errorText)
            *errorText = QStringLiteral("Cannot read %1").arg(presetFile);
        return false;
    }
    for (const FileKey &k : FileKeys)
        if (k.written)
            ini.writeString(
                QLatin1String(MainSection), QLatin1String(k.name), QString::fromLatin1(k.written));
    for (const SettingDescriptor &d : SettingsTable())
        if (d.inProfiles())
            ini.writeString(
                QLatin1String(d.section), QLatin1String(d.key), savedValue(d, s, strings));
    return ini.save(errorText);
}

bool LoadProfile(const QString &presetFile, EncodingSettings &s, const TAppStrings &strings,
    int defaultVideoCodec)
{
    // A file that exists but cannot be read is treated like a missing one:
    // reading every key's default from it would silently reset the codecs.
    IniFile ini(presetFile);
    if (!QFileInfo(presetFile).isFile() || !ini.load())
        return false;
    for (const char *section : LoadOrder) {
        for (const SettingDescriptor &d : SettingsTable()) {
            if (!d.inProfiles() || qstrcmp(d.section, section) != 0)
                continue;
            const QString sectionName = QLatin1String(d.section);
            const QString keyName = QLatin1String(d.key);
            const std::optional<QString> value = ini.hasKey(sectionName, keyName)
                ? std::optional<QString>(ini.readString(sectionName, keyName))
                : missingValue(d, s, strings);
            if (value)
                applyValue(d, s, value->trimmed(), strings, defaultVideoCodec);
        }
    }
    return true;
}

bool ParseColorText(const QString &text, uint32_t &color)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    if (t.startsWith(u'#')) {
        const QString hex = t.mid(1);
        if (!isHex(hex))
            return false;
        const uint v = hex.toUInt(nullptr, 16);
        if (hex.size() == 6) {
            color = rgbToStored((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
            return true;
        }
        if (hex.size() == 3) {
            const uint r = (v >> 8) & 0xF, g = (v >> 4) & 0xF, b = v & 0xF;
            color = rgbToStored(r * 17, g * 17, b * 17);
            return true;
        }
        return false;
    }
    if (t.startsWith(u"rgb", Qt::CaseInsensitive))
        return parseDecimalTriple(t.mid(3), color);
    if (t.startsWith(u'(') || t.contains(u',') || t.contains(u' ') || t.contains(u'\t'))
        return parseDecimalTriple(t, color);
    QString hex = t;
    if (hex.startsWith(u'$'))
        hex.remove(0, 1);
    else if (hex.startsWith(u"0x", Qt::CaseInsensitive))
        hex.remove(0, 2);
    if (!isHex(hex) || hex.size() > 8)
        return false;
    const uint v = hex.toUInt(nullptr, 16);
    if (v > 0xFFFFFF)
        return false;
    color = v;
    return true;
}

QString ProfileDisplayName(const QString &displayNameKey, const QString &fileName)
{
    QString name = displayNameKey;
    qsizetype cut = -1;
    for (const QString &marker : {u"[clb="_s, u"[clf="_s}) {
        const qsizetype at = name.indexOf(marker, 0, Qt::CaseInsensitive);
        if (at >= 0 && (cut < 0 || at < cut))
            cut = at;
    }
    if (cut >= 0)
        name.truncate(cut);
    name = name.trimmed();
    return name.isEmpty() ? QFileInfo(fileName).completeBaseName() : name;
}

QString ExpandDisplayEscapes(const QString &displayName)
{
    QString result;
    result.reserve(displayName.size());
    for (qsizetype i = 0; i < displayName.size(); ++i) {
        const QChar c = displayName.at(i);
        if (c == u'\\' && i + 1 < displayName.size()) {
            const QChar next = displayName.at(i + 1);
            if (next == u'n' || next == u't') {
                result += next == u'n' ? u'\n' : u'\t';
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

bool AP_AddProfile(const QString &fName, QList<TProfileInfo> &profileList)
{
    IniFile ini(fName);
    if (!QFileInfo(fName).isFile() || !ini.load())
        return false;
    const QString main = u"MAIN"_s;
    if (ini.readString(main, u"AppVer"_s)
                .compare(QLatin1String(AppInfo::ProgramVersion), Qt::CaseInsensitive)
            != 0
        || ini.readString(main, u"AppName"_s)
                .compare(QLatin1String(AppInfo::ProgramName), Qt::CaseInsensitive)
            != 0)
        return false;

    TProfileInfo info;
    info.ShortFileName = QFileInfo(fName).fileName();
    info.DisplayName = ProfileDisplayName(ini.readString(main, u"DisplayName"_s), fName);
    const QString sortText = ini.readString(main, u"SortIndex"_s);
    const double sortIndex = ParseFloatLenient(sortText, -1);
    info.SortIndex = std::isfinite(sortIndex) ? sortIndex : -1;
    if (!ParseColorText(ini.readString(main, u"BgColor"_s), info.BgColor))
        info.BgColor = 0xFFFFFF;
    if (!ParseColorText(ini.readString(main, u"FontColor"_s), info.FontColor))
        info.FontColor = 0xFFFFFF;
    profileList.append(info);
    return true;
}

QList<TProfileInfo> GetProfiles(const QString &profilesDir, const QString &lastProfileFile)
{
    QList<TProfileInfo> profiles;
    if (profilesDir.isEmpty())
        return profiles;
    QFileInfoList files = QDir(profilesDir).entryInfoList({u"*.ini"_s}, QDir::Files | QDir::Hidden);
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return a.filePath().compare(b.filePath(), Qt::CaseInsensitive) < 0;
    });
    const QString last
        = lastProfileFile.isEmpty() ? QString() : QFileInfo(lastProfileFile).absoluteFilePath();
    for (const QFileInfo &file : files)
        if (file.absoluteFilePath() != last)
            AP_AddProfile(file.absoluteFilePath(), profiles);
    std::stable_sort(profiles.begin(), profiles.end(),
        [](const TProfileInfo &a, const TProfileInfo &b) { return a.SortIndex < b.SortIndex; });
    return profiles;
}

QStringList ProfileListItems(const QList<TProfileInfo> &profileList, const TAppStrings &strings)
{
    QStringList items{
        strings.Main.cbProfile_TheLastSessionSettings, strings.Main.cbProfile_DefaultSettings};
    for (const TProfileInfo &info : profileList)
        items << ExpandDisplayEscapes(info.DisplayName);
    return items;
}

ProfileEntryColors ProfileEntryColorsOf(const TProfileInfo &profile)
{
    constexpr uint32_t White = 0xFFFFFF, LightGrey = 0xF0F0F0, Black = 0;
    if (profile.BgColor == White && profile.FontColor == White)
        return {true, LightGrey, Black};
    if (profile.BgColor == profile.FontColor)
        return {false, 0x333333, 0xE6E6E6};
    return {false, profile.BgColor, profile.FontColor};
}

QString ProfileFileForEntry(int entry, const QList<TProfileInfo> &profileList,
    const QString &profilesDir, const QString &lastProfileFile)
{
    if (entry == 0)
        return lastProfileFile;
    if (entry < 2 || profileList.isEmpty())
        return {};
    const qsizetype index = entry - 2 < profileList.size() ? entry - 2 : 0;
    return QDir(profilesDir).filePath(profileList.at(index).ShortFileName);
}

int ProfileEntryAfterSave(const QList<TProfileInfo> &profileList, const QString &savedFile)
{
    const QString name = QFileInfo(savedFile).fileName();
    for (qsizetype i = 0; i < profileList.size(); ++i)
        if (profileList.at(i).ShortFileName.compare(name, Qt::CaseInsensitive) == 0)
            return int(i) + 2;
    return 0;
}

bool IsInProfilesDir(const QString &file, const QString &profilesDir)
{
    // Through the real paths, so a folder reached by a symbolic link counts.
    const auto realDir = [](const QString &dir) {
        const QString canonical = QFileInfo(dir).canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(dir).absoluteFilePath()) : canonical;
    };
    return !file.isEmpty() && !profilesDir.isEmpty()
        && realDir(QFileInfo(file).absolutePath()) == realDir(profilesDir);
}
