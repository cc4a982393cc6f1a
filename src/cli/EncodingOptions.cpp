#include "cli/EncodingOptions.h"

#include "analysis/VideoFileInfo.h"
#include "app/AppParams.h"
#include "app/IniFile.h"
#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "app/TextHelpers.h"
#include "encoding/OutputName.h"
#include "encoding/Profiles.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "encoding/SettingsTable.h"
#include "filelist/ListFile.h"
#include "filelist/SupportedExtensions.h"

#include <QFileInfo>
#include <optional>
#include <set>
#include <utility>

namespace {

struct ProfileKey
{
    QString section, key, value;
};

bool ParseSetOption(const QString &text, ProfileKey &key)
{
    const qsizetype equals = text.indexOf(u'=');
    const qsizetype dot = text.indexOf(u'.');
    if (equals < 0 || dot < 0 || dot > equals)
        return false;
    key.section = text.left(dot);
    key.key = text.mid(dot + 1, equals - dot - 1);
    key.value = text.mid(equals + 1);
    return !key.section.isEmpty() && !key.key.isEmpty();
}

// What the options say, gathered before the settings are built: a profile
// loads first, then the keys in the order given.
struct OptionValues
{
    QString profile;
    QList<ProfileKey> keys;
    std::optional<int> audioTrack, outputExists;
    std::optional<QString> outDir;
    bool keepTree = false;
    std::optional<QString> treeRoot;
    QStringList *inputs = nullptr;
};

using OptionHandler = bool (*)(const QString &value, OptionValues &values, QString &error);

struct EncodingOption
{
    const char *name;
    const char *valueName; // null for a flag
    const char *help;
    OptionHandler handle;
};

const EncodingOption EncodingOptionTable[] = {
    {"--profile", "PATH", "load a conversion profile over the defaults",
        [](const QString &value, OptionValues &v, QString &) {
            v.profile = value;
            return true;
        }},
    {"--set", "SECTION.Key=VALUE", "set one profile key (repeatable, after --profile)",
        [](const QString &value, OptionValues &v, QString &error) {
            ProfileKey key;
            if (!ParseSetOption(value, key)) {
                error = QStringLiteral("--set: \"%1\" is not SECTION.Key=VALUE").arg(value);
                return false;
            }
            v.keys.append(key);
            return true;
        }},
    {"--audio-track", "N", "audio track to convert (0: automatic)",
        [](const QString &value, OptionValues &v, QString &error) {
            const QString number = value.trimmed();
            if (!IsValidInt(number) || number.toInt() < 0 || number.toInt() > MaxAudioStreams) {
                error = QStringLiteral("--audio-track: \"%1\" is not a track number from 0 to %2")
                            .arg(value, QString::number(MaxAudioStreams));
                return false;
            }
            v.audioTrack = number.toInt();
            return true;
        }},
    {"--out-dir", "DIR", "write the outputs into DIR (default: beside the input)",
        [](const QString &value, OptionValues &v, QString &) {
            v.outDir = value;
            return true;
        }},
    {"--keep-tree", nullptr,
        "with --out-dir: keep the inputs' sub-folders below their common folder",
        [](const QString &, OptionValues &v, QString &) {
            v.keepTree = true;
            return true;
        }},
    {"--tree-root", "DIR", "with --out-dir: keep the sub-folders below DIR",
        [](const QString &value, OptionValues &v, QString &) {
            v.treeRoot = value;
            return true;
        }},
    {"--if-exists", "rename|overwrite|skip", "when the output exists (default: rename)",
        [](const QString &value, OptionValues &v, QString &error) {
            const QString policy = value.trimmed().toLower();
            for (const auto &[name, entry] : IfExistsPolicies)
                if (policy == QLatin1String(name)) {
                    v.outputExists = entry;
                    return true;
                }
            error
                = QStringLiteral("--if-exists: \"%1\" is not rename, overwrite or skip").arg(value);
            return false;
        }},
    {"--list", "FILE.lst", "add the files of a list file",
        [](const QString &value, OptionValues &v, QString &error) {
            QStringList lines;
            QString listError;
            if (!ReadListFile(value, lines, &listError)) {
                error = QStringLiteral("--list: ") + listError;
                return false;
            }
            for (const QString &line : std::as_const(lines))
                v.inputs->append(ListFileLinePath(line));
            return true;
        }},
};

const EncodingOption *findOption(const QString &arg)
{
    for (const EncodingOption &option : EncodingOptionTable)
        if (arg == QLatin1String(option.name))
            return &option;
    return nullptr;
}

} // namespace

const std::pair<const char *, int> IfExistsPolicies[3] = {
    {"rename", OutputExists::Rename},
    {"overwrite", OutputExists::Overwrite},
    {"skip", OutputExists::Skip},
};

bool IsEncodingValueOption(const QString &arg)
{
    const EncodingOption *option = findOption(arg);
    return option && option->valueName;
}

QStringList EncodingOptionNames()
{
    QStringList names;
    for (const EncodingOption &option : EncodingOptionTable)
        names << QLatin1String(option.name);
    return names;
}

QStringList SetOptionKeys()
{
    QStringList keys;
    for (const SettingDescriptor &d : SettingsTable())
        if (d.inProfiles())
            keys << QLatin1String(d.section) + u'.' + QLatin1String(d.key);
    return keys;
}

int DefaultVideoCodecOfSettingsFile(const TAppParams &params)
{
    IniFile ini(params.IniName);
    ini.load();
    return DefaultVideoCodecEntry(
        ini.readString(QStringLiteral("MAIN"), QStringLiteral("DefaultVideoCodec")));
}

bool ParseEncodingOptions(const QStringList &args, const QStringList &extraValueOptions,
    const EncodingOptionsBase &base, EncodingOptions &options, QString *error)
{
    QString message;
    const auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };

    OptionValues values;
    values.inputs = &options.inputs;
    bool filesOnly = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (filesOnly || !arg.startsWith(QLatin1String("--"))) {
            options.inputs.append(arg);
            continue;
        }
        if (arg == QLatin1String("--")) {
            filesOnly = true;
            continue;
        }
        const EncodingOption *option = findOption(arg);
        if (!option && !extraValueOptions.contains(arg))
            return fail(QStringLiteral("unknown option \"%1\"").arg(arg));
        if (option && !option->valueName) {
            option->handle(QString(), values, message);
            continue;
        }
        if (i + 1 >= args.size())
            return fail(QStringLiteral("%1 needs a value").arg(arg));
        const QString &value = args.at(++i);
        if (!option) {
            options.extra.insert(arg, value);
            continue;
        }
        // Such a value cannot name a file or a setting (a file argument is
        // skipped later, with a note).
        if (HasNonUtf8Bytes(value))
            return fail(QStringLiteral("%1: \"%2\" is not valid UTF-8")
                            .arg(arg, EscapedNonUtf8Name(value)));
        if (!option->handle(value, values, message))
            return fail(message);
    }

    EncodingSettings &s = options.settings;
    s = DefaultEncodingSettings(base.strings, base.defaultVideoCodec);
    // The command line gives the output options; quillon.ini's are the
    // window's.
    s.rbOutDir = false;
    s.cbOutputExists = OutputExists::Rename;
    if (!values.profile.isEmpty()
        && !LoadProfile(values.profile, s, base.strings, base.defaultVideoCodec))
        return fail(QStringLiteral("--profile: cannot read \"%1\"").arg(values.profile));
    for (const ProfileKey &key : std::as_const(values.keys)) {
        if (!ApplyProfileKey(
                s, key.section, key.key, key.value, base.strings, base.defaultVideoCodec))
            return fail(
                QStringLiteral("--set: profiles have no key \"%1.%2\"").arg(key.section, key.key));
    }
    if (values.audioTrack)
        s.cbAudioTrackNo = *values.audioTrack;
    if (values.outDir) {
        s.rbOutDir = true;
        s.edOutDir = *values.outDir;
    }
    if (values.outputExists)
        s.cbOutputExists = *values.outputExists;
    if (values.keepTree || values.treeRoot) {
        // Beside the inputs every file keeps its folder anyway.
        if (!values.outDir)
            return fail(values.treeRoot ? QStringLiteral("--tree-root needs --out-dir")
                                        : QStringLiteral("--keep-tree needs --out-dir"));
        s.chOutDirKeepTree = true;
        options.treeRoot = values.treeRoot.value_or(QString());
    }
    return true;
}

QString OptionUsageLine(const QString &option, const QString &help)
{
    // Help starts in column 28 when the option leaves room for it.
    constexpr qsizetype HelpColumn = 28;
    const QString left = QStringLiteral("  ") + option;
    const QString gap = left.size() < HelpColumn ? QString(HelpColumn - left.size(), u' ')
                                                 : QStringLiteral("   ");
    return left + gap + help + u'\n';
}

QString TreeRootOf(const EncodingOptions &options, const QStringList &files)
{
    if (!options.settings.chOutDirKeepTree)
        return {};
    return options.treeRoot.isEmpty() ? CommonFolderOf(files) : ExpandFullPath(options.treeRoot);
}

QString EncodingOptionsUsage()
{
    QString text;
    for (const EncodingOption &option : EncodingOptionTable) {
        QString usage = QLatin1String(option.name);
        if (option.valueName)
            usage += u' ' + QLatin1String(option.valueName);
        text += OptionUsageLine(usage, QLatin1String(option.help));
    }
    return text;
}
