#include "cli/EncodingOptions.h"

#include "app/AppParams.h"
#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "app/TextHelpers.h"
#include "app/VideoFileInfo.h"
#include "encoding/OutputName.h"
#include "encoding/Profiles.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "filelist/ListFile.h"
#include "filelist/SupportedExtensions.h"
#include "settings/IniFile.h"

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

} // namespace

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
    const auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return false;
    };

    QString profile;
    QList<ProfileKey> keys;
    std::optional<int> audioTrack, outputExists;
    std::optional<QString> outDir;
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
        const bool known = arg == QLatin1String("--profile") || arg == QLatin1String("--set")
            || arg == QLatin1String("--audio-track") || arg == QLatin1String("--out-dir")
            || arg == QLatin1String("--if-exists") || arg == QLatin1String("--list")
            || extraValueOptions.contains(arg);
        if (!known)
            return fail(QStringLiteral("unknown option \"%1\"").arg(arg));
        if (i + 1 >= args.size())
            return fail(QStringLiteral("%1 needs a value").arg(arg));
        const QString value = args.at(++i);
        // Such a value cannot name a file or a setting (a file argument is
        // skipped later, with a note).
        if (HasNonUtf8Bytes(value) && !extraValueOptions.contains(arg))
            return fail(QStringLiteral("%1: \"%2\" is not valid UTF-8")
                            .arg(arg, EscapedNonUtf8Name(value)));

        if (arg == QLatin1String("--profile")) {
            profile = value;
        } else if (arg == QLatin1String("--set")) {
            ProfileKey key;
            if (!ParseSetOption(value, key))
                return fail(QStringLiteral("--set: \"%1\" is not SECTION.Key=VALUE").arg(value));
            keys.append(key);
        } else if (arg == QLatin1String("--audio-track")) {
            const QString number = value.trimmed();
            if (!IsValidInt(number) || number.toInt() < 0 || number.toInt() > MaxAudioStreams)
                return fail(QStringLiteral("--audio-track: \"%1\" is not a track number from 0 "
                                           "to %2")
                                .arg(value)
                                .arg(MaxAudioStreams));
            audioTrack = number.toInt();
        } else if (arg == QLatin1String("--out-dir")) {
            outDir = value;
        } else if (arg == QLatin1String("--if-exists")) {
            const QString policy = value.trimmed().toLower();
            if (policy == QLatin1String("rename"))
                outputExists = OutputExists::Rename;
            else if (policy == QLatin1String("overwrite"))
                outputExists = OutputExists::Overwrite;
            else if (policy == QLatin1String("skip"))
                outputExists = OutputExists::Skip;
            else
                return fail(QStringLiteral("--if-exists: \"%1\" is not rename, overwrite or skip")
                                .arg(value));
        } else if (arg == QLatin1String("--list")) {
            QStringList lines;
            QString listError;
            if (!ReadListFile(value, lines, &listError))
                return fail(QStringLiteral("--list: ") + listError);
            for (const QString &line : std::as_const(lines))
                options.inputs.append(ListFileLinePath(line));
        } else {
            options.extra.insert(arg, value);
        }
    }

    EncodingSettings &s = options.settings;
    s = DefaultEncodingSettings(base.strings, base.defaultVideoCodec);
    // The command line gives the output options; quillon.ini's are the
    // window's.
    s.rbOutDir = false;
    s.cbOutputExists = OutputExists::Rename;
    if (!profile.isEmpty() && !LoadProfile(profile, s, base.strings, base.defaultVideoCodec))
        return fail(QStringLiteral("--profile: cannot read \"%1\"").arg(profile));
    for (const ProfileKey &key : std::as_const(keys)) {
        if (!ApplyProfileKey(
                s, key.section, key.key, key.value, base.strings, base.defaultVideoCodec))
            return fail(
                QStringLiteral("--set: profiles have no key \"%1.%2\"").arg(key.section, key.key));
    }
    if (audioTrack)
        s.cbAudioTrackNo = *audioTrack;
    if (outDir) {
        s.rbOutDir = true;
        s.edOutDir = *outDir;
    }
    if (outputExists)
        s.cbOutputExists = *outputExists;
    return true;
}

QString EncodingOptionsUsage()
{
    return QStringLiteral(
        "  --profile PATH            load a conversion profile over the defaults\n"
        "  --set SECTION.Key=VALUE   set one profile key (repeatable, after --profile)\n"
        "  --audio-track N           audio track to convert (0: automatic)\n"
        "  --out-dir DIR             write the outputs into DIR (default: beside the input)\n"
        "  --if-exists rename|overwrite|skip   when the output exists (default: rename)\n"
        "  --list FILE.lst           add the files of a list file\n");
}

QStringList FilterInputFiles(const QStringList &inputs, QStringList *notes, int *nonUtf8Count)
{
    QStringList accepted;
    std::set<TFileIdentity> taken; // one stat per input, not one per pair
    const auto note = [&](const QString &path, const char *why) {
        if (notes)
            notes->append(QStringLiteral("skipped \"%1\": %2").arg(path, QLatin1String(why)));
    };
    for (const QString &input : inputs) {
        if (input.isEmpty())
            continue;
        const QString path = ExpandFullPath(input);
        if (HasNonUtf8Bytes(path)) {
            if (notes)
                notes->append(QStringLiteral("skipped ") + NonUtf8NameMessage(path));
            if (nonUtf8Count)
                ++*nonUtf8Count;
            continue;
        }
        if (!IsSupportedFile(input)) {
            note(input, "not a supported media file");
            continue;
        }
        if (!QFileInfo(path).isFile()) {
            note(input, "no such file");
            continue;
        }
        const std::optional<TFileIdentity> identity = FileIdentityOf(path);
        if (identity && !taken.insert(*identity).second) {
            note(input, "already listed");
            continue;
        }
        accepted.append(path);
    }
    return accepted;
}
