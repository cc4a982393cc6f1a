#include "encoding/EncoderSupport.h"

#include "app/FileLocations.h"
#include "app/SafeSave.h"
#include "encoding/EncodingSettings.h"
#include "encoding/SettingsLists.h"
#include "process/CommandLine.h"
#include "process/ConsoleRunner.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <mutex>

EncoderSet::EncoderSet(const QStringList &names)
    : m_names(names.cbegin(), names.cend())
{ }

QStringList EncoderSet::names() const
{
    QStringList list(m_names.cbegin(), m_names.cend());
    list.sort();
    return list;
}

EncoderSet ParseEncoderList(const QString &output)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QStringList names;
    bool inList = false;
    for (const QString &rawLine : output.split(u'\n')) {
        const QString line = rawLine.trimmed();
        if (!inList) {
            inList = line.startsWith(QLatin1String("------"));
            continue;
        }
        const QStringList fields = line.split(blanks, Qt::SkipEmptyParts);
        // A capability field is six characters of flags or dots.
        if (fields.size() >= 2 && fields.at(0).size() == 6)
            names.append(fields.at(1));
    }
    return EncoderSet(names);
}

namespace {

struct CacheKey
{
    QString path;
    qint64 size = 0;
    qint64 modified = 0;
    bool operator==(const CacheKey &) const = default;
};

size_t qHash(const CacheKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.path, key.size, key.modified);
}

std::mutex cacheMutex;
QHash<CacheKey, std::optional<EncoderSet>> encoderCache;

// The file: a header naming the program build it describes, then one
// encoder name per line. Anything else is not trusted.
const QByteArray DiskCacheHeader = QByteArrayLiteral("quillon encoder list 1\n");
constexpr qint64 MaxDiskCacheBytes = 1024 * 1024;

QString diskCachePath(const CacheKey &key)
{
    const QString dir = UserCacheDir();
    if (dir.isEmpty())
        return {};
    const QByteArray id
        = QCryptographicHash::hash(key.path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return dir + QStringLiteral("/encoders-") + QString::fromLatin1(id) + QStringLiteral(".txt");
}

QByteArray diskCacheHead(const CacheKey &key)
{
    return DiskCacheHeader + "path=" + key.path.toUtf8() + "\nsize=" + QByteArray::number(key.size)
        + "\nmodified=" + QByteArray::number(key.modified) + '\n';
}

std::optional<EncoderSet> readDiskCache(const CacheKey &key)
{
    QFile file(diskCachePath(key));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(MaxDiskCacheBytes + 1);
    const QByteArray head = diskCacheHead(key);
    if (bytes.size() > MaxDiskCacheBytes || bytes.size() <= head.size() || !bytes.startsWith(head)
        || !bytes.endsWith('\n'))
        return std::nullopt;
    QStringList names;
    for (const QByteArray &line : bytes.mid(head.size()).chopped(1).split('\n')) {
        const bool plain = !line.isEmpty()
            && std::all_of(line.cbegin(), line.cend(), [](char c) { return uchar(c) > ' '; });
        if (!plain)
            return std::nullopt;
        names << QString::fromUtf8(line);
    }
    return EncoderSet(names);
}

void writeDiskCache(const CacheKey &key, const EncoderSet &encoders)
{
    // Failures are ignored: the file only saves asking FFmpeg next time.
    const QString path = diskCachePath(key);
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).path()))
        return;
    QByteArray bytes = diskCacheHead(key);
    for (const QString &name : encoders.names())
        bytes += name.toUtf8() + '\n';
    // Written aside and renamed: a reader never sees half a file.
    SaveWholeFile(path, bytes);
}

} // namespace

std::optional<EncoderSet> QueryEncoders(
    const QString &ffmpegPath, ConsoleRunner *runner, std::chrono::milliseconds timeout)
{
    const QFileInfo file(ffmpegPath);
    if (ffmpegPath.isEmpty() || !file.isFile())
        return std::nullopt;
    // A program replaced at the same path is asked again.
    const CacheKey key{
        file.absoluteFilePath(), file.size(), file.lastModified().toMSecsSinceEpoch()};
    {
        std::lock_guard lock(cacheMutex);
        const auto found = encoderCache.constFind(key);
        if (found != encoderCache.constEnd())
            return *found;
    }
    std::optional<EncoderSet> result = readDiskCache(key);
    if (!result) {
        try {
            ConsoleRunner ownRunner;
            ConsoleRunner &used = runner ? *runner : ownRunner;
            QStringList lines;
            used.RunConsoleApp(CommandLine(ffmpegPath, QStringLiteral("-hide_banner -encoders")),
                &lines, {}, {}, ToolAnswerOptions(timeout));
            // A list cut short lacks encoders the build has: no answer,
            // and none to remember.
            if (used.timedOut() || used.stopRequested())
                return std::nullopt;
            EncoderSet set = ParseEncoderList(lines.join(u'\n'));
            if (!set.isEmpty()) {
                writeDiskCache(key, set);
                result = std::move(set);
            }
        } catch (const ConsoleRunError &) {
            // Unknown: the builders then write every encoder as chosen.
        }
    }
    std::lock_guard lock(cacheMutex);
    encoderCache.insert(key, result);
    return result;
}

void ClearEncoderCache()
{
    std::lock_guard lock(cacheMutex);
    encoderCache.clear();
}

QString EncoderWithStandIn(const QString &encoder, const EncoderSet *encoders)
{
    if (encoders && encoder == QLatin1String("libfdk_aac") && !encoders->has(encoder)
        && encoders->has(QStringLiteral("aac")))
        return QStringLiteral("aac");
    return encoder;
}

QStringList MissingEncoders(const EncodingSettings &s, const EncoderSet &encoders)
{
    QStringList needed;
    const bool dvdPreset
        = s.IsMpg() && (s.cbMpgVideo == MpgVideo::PalDvd || s.cbMpgVideo == MpgVideo::NtscDvd);
    if (!s.IsMpg()) {
        const QString video = AviVideoCodecEncoder(s.cbAviVideoCodec);
        if (!s.chAviVideoDontCopy)
            needed.append(video.isEmpty() ? AviVideoCodecEncoder(AviCodec::Xvid) : video);
    } else if (!s.chMpgVideoDontCopy) {
        if (dvdPreset)
            needed.append(QStringLiteral("mpeg2video"));
        else if (s.cbMpgVideo == MpgVideo::Custom
            && (s.cbMpegVersion == MpegVersion::Mpeg1 || s.cbMpegVersion == MpegVersion::Mpeg2))
            needed.append(s.cbMpegVersion == MpegVersion::Mpeg1 ? QStringLiteral("mpeg1video")
                                                                : QStringLiteral("mpeg2video"));
    }

    if (dvdPreset) {
        // The DVD targets choose AC-3 themselves.
        needed.append(QStringLiteral("ac3"));
    } else if (!s.chAudioDontCopy) {
        const int codec = s.cbAudioCodec >= 0 && s.cbAudioCodec < AudioCodec::Count
            ? s.cbAudioCodec
            : int(AudioCodec::Mp3);
        if (codec == AudioCodec::Auto) {
            if (s.IsMpg()) {
                needed.append(QStringLiteral("mp2"));
            } else {
                needed.append(QStringLiteral("libmp3lame"));
                needed.append(QStringLiteral("ac3"));
            }
        } else if (codec != AudioCodec::Copy) {
            needed.append(EncoderWithStandIn(AudioCodecEncoder(codec), &encoders));
        }
    }

    QStringList missing;
    for (const QString &encoder : std::as_const(needed))
        if (encoder != QLatin1String("copy") && !encoders.has(encoder)
            && !missing.contains(encoder))
            missing.append(encoder);
    return missing;
}

QString MissingEncodersMessage(const QStringList &missing, const QString &ffmpegPath)
{
    if (missing.isEmpty())
        return {};
    const QString names = u'"' + missing.join(QStringLiteral("\", \"")) + u'"';
    return QStringLiteral("The FFmpeg program \"%1\" cannot encode with %2, which the chosen "
                          "settings need.\nChoose another codec, or use an FFmpeg build that "
                          "includes %3.")
        .arg(
            ffmpegPath, names, missing.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"));
}
