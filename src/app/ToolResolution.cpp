#include "app/ToolResolution.h"

#include "app/AppInfo.h"
#include "app/FileLocations.h"
#include "app/IniFile.h"
#include "app/ProgramDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <utility>

namespace {

bool isFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// The search works on normalised folder texts, where "" is the root.
QString listablePath(const QString &dir)
{
    return dir.isEmpty() ? QStringLiteral("/") : dir;
}

bool lessPath(const QString &a, const QString &b)
{
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

QStringList splitDirList(const QString &value, const QRegularExpression &separators)
{
    QStringList result;
    for (const QString &part : value.split(separators, Qt::SkipEmptyParts))
        result << part.trimmed();
    result.removeAll(QString());
    return result;
}

void appendUnique(QStringList &list, const QString &dir)
{
    const QString d = NormalizeDirPath(dir);
    if (!d.isEmpty() && !list.contains(d))
        list << d;
}

void readLdSoConf(const QString &path, int depth, QStringList &dirs)
{
    // Include loops in a broken configuration end here.
    if (depth > 8)
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QString confDir = QFileInfo(path).absolutePath();
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    static const QRegularExpression dirSeparators(QStringLiteral("[\\s,:]+"));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (QString line : lines) {
        const qsizetype hash = line.indexOf(u'#');
        if (hash >= 0)
            line.truncate(hash);
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1String("hwcap")))
            continue;
        if (line.startsWith(QLatin1String("include")) && line.size() > 7 && line.at(7).isSpace()) {
            for (QString pattern : line.mid(8).split(blanks, Qt::SkipEmptyParts)) {
                if (!pattern.startsWith(u'/'))
                    pattern = JoinPath(confDir, pattern);
                const QFileInfo info(pattern);
                QStringList names
                    = QDir(info.path()).entryList({info.fileName()}, QDir::Files | QDir::Hidden);
                std::sort(names.begin(), names.end());
                for (const QString &name : names)
                    readLdSoConf(JoinPath(info.path(), name), depth + 1, dirs);
            }
            continue;
        }
        for (QString dir : line.split(dirSeparators, Qt::SkipEmptyParts)) {
            // Old syntax "dir=TYPE".
            const qsizetype eq = dir.indexOf(u'=');
            if (eq >= 0)
                dir.truncate(eq);
            if (dir.startsWith(u'/'))
                appendUnique(dirs, dir);
        }
    }
}

template <typename SystemStep>
QString resolveTool(QString &field, const QString &toolsDir, const char *relativePath,
    const ToolLookup &lookup, const ToolDescriptor &wanted, SystemStep systemStep)
{
    QString candidate = ExpandFullPath(field);
    if (!isFile(candidate)) {
        candidate
            = toolsDir.isEmpty() ? QString() : JoinPath(toolsDir, QLatin1String(relativePath));
        if (!isFile(candidate))
            candidate = SharedToolsSearch(lookup.ProgramDir, wanted);
        if (!isFile(candidate))
            candidate = systemStep();
        if (!isFile(candidate))
            candidate.clear();
    }
    field = candidate;
    return candidate;
}

} // namespace

ToolDescriptor FFmpegToolDescriptor()
{
    return {QStringLiteral("FFmpeg"), AppInfo::ProgramBits(),
        QStringLiteral("N-100681-g0bee216ad4"), QStringLiteral("ffmpeg.ver"),
        QStringLiteral("ffmpeg")};
}

ToolDescriptor MediaInfoToolDescriptor()
{
    return {QStringLiteral("MediaInfo"), AppInfo::ProgramBits(), QStringLiteral("20.09.0.0"),
        QStringLiteral("MediaInfo.ver"), QStringLiteral("libmediainfo.so.0")};
}

ToolLookup DefaultToolLookup()
{
    // Installed in /usr/bin, the shared-tools search would walk all of /usr.
    const QString dir = ProgramDir();
    return {IsPortableLayout(dir) ? dir : QString(), std::nullopt, std::nullopt};
}

QString ResolveFFmpegPath(TAppParams &params)
{
    return ResolveFFmpegPath(params, DefaultToolLookup());
}

QString ResolveFFmpegPath(TAppParams &params, const ToolLookup &lookup)
{
    const ToolDescriptor wanted = FFmpegToolDescriptor();
    return resolveTool(params.ffmpeg, params.ToolsDir, FFmpegRelativePath, lookup, wanted, [&] {
        return FindExecutableInDirs(wanted.FileName,
            lookup.ExecutableDirs ? *lookup.ExecutableDirs : ExecutableSearchDirs());
    });
}

QString ResolveMediaInfoPath(TAppParams &params)
{
    return ResolveMediaInfoPath(params, DefaultToolLookup());
}

QString ResolveMediaInfoPath(TAppParams &params, const ToolLookup &lookup)
{
    const ToolDescriptor wanted = MediaInfoToolDescriptor();
    return resolveTool(
        params.MediaInfoDll, params.ToolsDir, MediaInfoRelativePath, lookup, wanted, [&] {
            return FindLibraryInDirs(
                wanted.FileName, lookup.LibraryDirs ? *lookup.LibraryDirs : LibrarySearchDirs());
        });
}

QString SharedToolsSearch(const QString &programDir, const ToolDescriptor &wanted)
{
    const QString base = NormalizeDirPath(programDir);
    if (base.isEmpty())
        return {};
    const QString parent = ParentDirPath(base);
    QString found = SearchToolRoot(JoinPath(parent, QStringLiteral("_common")), wanted);
    if (isFile(found))
        return found;
    return SearchToolRoot(parent, wanted);
}

QString SearchToolRoot(const QString &root, const ToolDescriptor &wanted)
{
    const QString wantedTool = wanted.Tool.toUpper();
    const QString wantedBits = wanted.Bits.toUpper();
    const QString wantedVersion = wanted.Version.toUpper();
    const QString mainSection = QStringLiteral("MAIN");
    for (const QString &dir : CollectSearchDirs(root)) {
        QStringList names = QDir(listablePath(dir)).entryList(QDir::Files | QDir::Hidden);
        std::sort(names.begin(), names.end(), lessPath);
        for (const QString &name : std::as_const(names)) {
            if (name.compare(wanted.VersionFileName, Qt::CaseInsensitive) != 0)
                continue;
            IniFile ini(JoinPath(dir, name));
            ini.load();
            if (!ini.hasSection(mainSection))
                continue;
            if (ini.readString(mainSection, QStringLiteral("tool")).toUpper() != wantedTool
                || ini.readString(mainSection, QStringLiteral("bits")).toUpper() != wantedBits
                || ini.readString(mainSection, QStringLiteral("ver")).toUpper() != wantedVersion)
                continue;
            // The first matching description decides this root, tool or not.
            const QString tool = JoinPath(dir, wanted.FileName);
            return isFile(tool) ? tool : QString();
        }
    }
    return {};
}

QStringList CollectSearchDirs(const QString &root, int maxDepth)
{
    const QString start = NormalizeDirPath(root);
    QStringList result;
    if (!QFileInfo(listablePath(start)).isDir())
        return result;
    // A link back to a folder already taken would repeat it at every level.
    QSet<QString> seen{QFileInfo(listablePath(start)).canonicalFilePath()};
    QStringList level{start};
    result << start;
    for (int depth = 1; depth <= maxDepth && !level.isEmpty(); ++depth) {
        QStringList next;
        for (const QString &dir : std::as_const(level)) {
            const QFileInfoList children
                = QDir(listablePath(dir))
                      .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
            for (const QFileInfo &child : children) {
                const QString real = child.canonicalFilePath();
                if (real.isEmpty() || seen.contains(real))
                    continue;
                seen.insert(real);
                next << JoinPath(dir, child.fileName());
            }
        }
        result << next;
        level = std::move(next);
    }
    std::sort(result.begin(), result.end(), lessPath);
    return result;
}

QStringList ExecutableSearchDirs()
{
    static const QRegularExpression colon(QStringLiteral(":"));
    return splitDirList(qEnvironmentVariable("PATH"), colon);
}

QString FindExecutableInDirs(const QString &name, const QStringList &dirs)
{
    for (const QString &dir : dirs) {
        if (!dir.startsWith(u'/'))
            continue;
        const QString candidate = JoinPath(NormalizeDirPath(dir), name);
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return QDir::cleanPath(candidate);
    }
    return {};
}

QStringList LibrarySearchDirs()
{
    return LibrarySearchDirs(
        qEnvironmentVariable("LD_LIBRARY_PATH"), QStringLiteral("/etc/ld.so.conf"));
}

QStringList LibrarySearchDirs(const QString &ldLibraryPath, const QString &ldSoConfPath)
{
    static const QRegularExpression separators(QStringLiteral("[:;]"));
    QStringList dirs;
    for (const QString &dir : splitDirList(ldLibraryPath, separators))
        if (dir.startsWith(u'/'))
            appendUnique(dirs, dir);
    for (const QString &dir : ReadLdSoConf(ldSoConfPath))
        appendUnique(dirs, dir);
    if (sizeof(void *) == 8) {
        appendUnique(dirs, QStringLiteral("/lib64"));
        appendUnique(dirs, QStringLiteral("/usr/lib64"));
    }
    appendUnique(dirs, QStringLiteral("/lib"));
    appendUnique(dirs, QStringLiteral("/usr/lib"));
    return dirs;
}

QStringList ReadLdSoConf(const QString &path)
{
    QStringList dirs;
    readLdSoConf(path, 0, dirs);
    return dirs;
}

QString FindLibraryInDirs(const QString &name, const QStringList &dirs)
{
    for (const QString &dir : dirs) {
        if (!dir.startsWith(u'/'))
            continue;
        const QString candidate = JoinPath(NormalizeDirPath(dir), name);
        if (isFile(candidate) && IsLoadableElfClass(candidate))
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}

bool IsLoadableElfClass(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(5);
    const char wantedClass = sizeof(void *) == 8 ? 2 : 1;
    return head.size() == 5 && head.startsWith("\177ELF") && head.at(4) == wantedClass;
}
