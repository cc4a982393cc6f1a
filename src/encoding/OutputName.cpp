#include "encoding/OutputName.h"

#include "app/ProgramDir.h"
#include "encoding/EncodingSettings.h"
#include "encoding/MessageSink.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The position of the extension's "." in the file-name part, or -1.
qsizetype ExtensionDot(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > slash ? dot : -1;
}

// The numbering of UniqueOutputName, with what counts as taken.
QString FirstFreeName(const QString &Path, const QString &Separator, int Digits,
    const std::function<bool(const QString &)> &taken)
{
    if (!taken(Path))
        return Path;
    const qsizetype dot = ExtensionDot(Path);
    const QString base = dot >= 0 ? Path.left(dot) : Path;
    const QString ext = dot >= 0 ? Path.mid(dot) : QString();
    for (int i = 1; i <= 100000; ++i) {
        QString candidate
            = base + Separator + QStringLiteral("%1").arg(i, Digits, 10, QLatin1Char('0')) + ext;
        if (!taken(candidate))
            return candidate;
    }
    return {};
}

} // namespace

QString GetExt(const EncodingSettings &s, bool IncludeDot)
{
    const QString ext = s.IsMpg() ? QStringLiteral("mpg") : QStringLiteral("avi");
    return IncludeDot ? u'.' + ext : ext;
}

QString TreeSubfolder(const QString &input, const QString &treeRoot)
{
    if (treeRoot.isEmpty())
        return {};
    // Both cleaned, so that neither "." nor ".." is left to climb with.
    const QString file = ExpandFullPath(input);
    QString root = ExpandFullPath(treeRoot);
    if (!root.endsWith(u'/'))
        root += u'/';
    const qsizetype slash = file.lastIndexOf(u'/');
    if (slash < root.size() || !file.startsWith(root))
        return {};
    return file.mid(root.size(), slash - root.size());
}

QString OutputFolderOf(const EncodingSettings &s, const QString &input, const QString &treeRoot)
{
    if (!s.rbOutDir)
        return QFileInfo(ExpandFullPath(input)).absolutePath();
    // A relative folder is taken against the current folder.
    const QString top = NormalizeDirPath(ExpandFullPath(s.edOutDir));
    if (top.isEmpty())
        return {};
    const QString sub = s.chOutDirKeepTree ? TreeSubfolder(input, treeRoot) : QString();
    return sub.isEmpty() ? top : JoinPath(top, sub);
}

QString CommonFolderOf(const QStringList &files)
{
    if (files.isEmpty())
        return {};
    const auto foldersOf = [](const QString &file) {
        const QString path = ExpandFullPath(file);
        return path.left(path.lastIndexOf(u'/')).split(u'/');
    };
    QStringList common = foldersOf(files.first());
    for (const QString &file : files) {
        const QStringList folders = foldersOf(file);
        qsizetype same = 0;
        while (same < common.size() && same < folders.size() && common[same] == folders[same])
            ++same;
        common.resize(same);
    }
    // The parts start with the empty text before the root's "/".
    const QString folder = common.join(u'/');
    return folder.isEmpty() ? QStringLiteral("/") : folder;
}

bool PathEntryExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool RemoveFileEvenReadOnly(const QString &path)
{
    if (QFile::remove(path))
        return true;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    return QFile::remove(path);
}

bool IsSameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const std::optional<FileIdentity> ia = fileIdentityOf(a);
    return ia && ia == fileIdentityOf(b);
}

QString UniqueOutputName(const QString &Path, const QString &Separator, int Digits)
{
    return FirstFreeName(Path, Separator, Digits, PathEntryExists);
}

FileIdentitySet::FileIdentitySet(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (const std::optional<FileIdentity> identity = fileIdentityOf(path))
            m_identities.insert(*identity);
    }
}

bool FileIdentitySet::contains(const QString &path) const
{
    if (m_identities.empty())
        return false;
    const std::optional<FileIdentity> identity = fileIdentityOf(path);
    return identity && m_identities.count(*identity) > 0;
}

OutputNamePlanner::OutputNamePlanner(const EncodingSettings &s, const TAppStrings &strings,
    IMessageSink *messages, Mode mode, const QStringList &inputs, const QStringList &listed)
    : m_settings(s)
    , m_outDirUsed(s.rbOutDir)
    , m_outDir(s.edOutDir)
    , m_ext(GetExt(s, true))
    , m_policy(s.cbOutputExists)
    , m_cantCreate(strings.Main.CantCreateDirectory)
    , m_done(strings.Main.Done)
    , m_renamed(strings.Main.OK_Renamed)
    , m_overwritten(strings.Main.OK_Overwritten)
    , m_skipped(strings.Main.Skipped)
    , m_messages(messages)
    , m_mode(mode)
    , m_inputList(inputs)
    , m_listed(inputs + listed)
{ }

OutputNamePlanner::~OutputNamePlanner()
{
    while (!m_reserved.empty())
        release(m_reserved.back().path);
}

OutputPath OutputNamePlanner::next(qsizetype index)
{
    OutputPath result;
    const QString input = m_inputList.value(index);
    QString out = input;
    if (m_outDirUsed) {
        const QString dir = outputFolder(index, result);
        if (result.action == OutputPath::Failed)
            return result;
        out = JoinPath(dir, QFileInfo(input).fileName());
    }
    const qsizetype dot = ExtensionDot(out);
    const QString wanted = (dot >= 0 ? out.left(dot) : out) + m_ext;

    out = wanted;
    // A name another program creates between the look and the creation is
    // judged again as an existing one; the bound only guards against a name
    // that keeps appearing and vanishing.
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (!taken(out)) {
            if (claim(out) != AlreadyTaken)
                break;
        }
        if (m_policy == OutputExists::Rename || protectedFile(out, input)) {
            out = FirstFreeName(wanted, QStringLiteral("_"), 3,
                [this](const QString &name) { return taken(name); });
            result.outcome = OutputPath::Renamed;
            if (m_policy == OutputExists::Skip)
                result.action = OutputPath::Skip;
            // All numbered names taken: FFmpeg reports the empty name.
            if (out.isEmpty() || result.action == OutputPath::Skip)
                break;
            continue;
        }
        if (m_policy == OutputExists::Skip) {
            result.action = OutputPath::Skip;
        } else {
            result.outcome = OutputPath::Overwritten;
            if (m_mode == Plan)
                m_planned.insert(out);
        }
        break;
    }
    if (result.action == OutputPath::Skip)
        result.outcome = OutputPath::Skipped;
    else
        remember(out);
    result.path = out;
    result.doneText = doneText(result);
    return result;
}

QString OutputNamePlanner::outputFolder(qsizetype index, OutputPath &result)
{
    const auto cannotCreate = [&](const QString &folder) {
        if (m_messages)
            m_messages->warning(FormatAppString(m_cantCreate, folder));
        result.action = OutputPath::Failed;
        return QString();
    };
    const QString top = ExpandFullPath(m_outDir);
    if (!top.isEmpty() && !QFileInfo(top).isDir())
        QDir().mkpath(top);
    if (top.isEmpty() || !QFileInfo(top).isDir())
        return cannotCreate(m_outDir);
    QString folder = OutputFolderOf(m_settings, m_inputList.value(index), m_treeRoots.value(index));
    if (QFileInfo(folder).isDir())
        return folder;
    // A file in the way stops the script as it would stop the run.
    if (m_mode == Plan && !PathEntryExists(folder)) {
        if (!m_newFolders.contains(folder)) {
            m_newFolders.insert(folder);
            result.newFolder = folder;
        }
        return folder;
    }
    if (m_mode == Reserve && QDir().mkpath(folder) && QFileInfo(folder).isDir())
        return folder;
    return cannotCreate(folder);
}

bool OutputNamePlanner::taken(const QString &path) const
{
    return PathEntryExists(path) || m_planned.contains(path);
}

bool OutputNamePlanner::protectedFile(const QString &path, const QString &input) const
{
    return path == input || m_handedOut.contains(path) || m_listed.contains(path)
        || m_handedOutFiles.contains(path);
}

void OutputNamePlanner::remember(const QString &path)
{
    if (path.isEmpty())
        return;
    m_handedOut.insert(path);
    if (const std::optional<FileIdentity> identity = fileIdentityOf(path))
        m_handedOutFiles.insert(*identity);
}

OutputNamePlanner::Claim OutputNamePlanner::claim(const QString &path)
{
    if (m_mode == Plan) {
        m_planned.insert(path);
        return Claimed;
    }
    // Created as FFmpeg would create it (0666 less the umask), never through
    // a link; FFmpeg then writes into this very file.
    const int fd = ::open(QFile::encodeName(path).constData(),
        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? AlreadyTaken : NotCreated;
    struct stat info;
    if (::fstat(fd, &info) == 0)
        m_reserved.push_back({path, FileIdentity{uint64_t(info.st_dev), uint64_t(info.st_ino)}});
    ::close(fd);
    return Claimed;
}

void OutputNamePlanner::release(const QString &path)
{
    const auto found = std::find_if(
        m_reserved.begin(), m_reserved.end(), [&](const Reservation &r) { return r.path == path; });
    if (found == m_reserved.end())
        return;
    const FileIdentity identity = found->identity;
    m_reserved.erase(found);
    struct stat info;
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0
        && FileIdentity{uint64_t(info.st_dev), uint64_t(info.st_ino)} == identity)
        ::unlink(name.constData());
}

QString OutputNamePlanner::doneText(const OutputPath &output) const
{
    switch (output.outcome) {
    case OutputPath::Renamed:
        return m_renamed;
    case OutputPath::Overwritten:
        return m_overwritten;
    case OutputPath::Skipped:
        return m_skipped;
    default:
        return m_done;
    }
}
