#include "encoding/OutputName.h"

#include "app/ProgramDir.h"
#include "encoding/EncodingSettings.h"
#include "encoding/MessageSink.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

// The position of the extension's "." in the file-name part, or -1.
qsizetype ExtensionDot(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > slash ? dot : -1;
}

} // namespace

QString GetExt(const EncodingSettings &s, bool IncludeDot)
{
    const QString ext = s.IsMpg() ? QStringLiteral("mpg") : QStringLiteral("avi");
    return IncludeDot ? u'.' + ext : ext;
}

bool PathEntryExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

std::optional<TFileIdentity> FileIdentityOf(const QString &path)
{
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return TFileIdentity{uint64_t(info.st_dev), uint64_t(info.st_ino)};
}

bool IsSameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const std::optional<TFileIdentity> ia = FileIdentityOf(a);
    return ia && ia == FileIdentityOf(b);
}

QString UniqueOutputName(const QString &Path, const QString &Separator, int Digits)
{
    if (!PathEntryExists(Path))
        return Path;
    const qsizetype dot = ExtensionDot(Path);
    const QString base = dot >= 0 ? Path.left(dot) : Path;
    const QString ext = dot >= 0 ? Path.mid(dot) : QString();
    for (int i = 1; i <= 100000; ++i) {
        const QString candidate
            = base + Separator + QStringLiteral("%1").arg(i, Digits, 10, QLatin1Char('0')) + ext;
        if (!PathEntryExists(candidate))
            return candidate;
    }
    return {};
}

TOutputPath OutputPathOfRow(const QString &inputPath, const EncodingSettings &s,
    const TAppStrings &strings, IMessageSink *messages)
{
    TOutputPath result;
    QString out = inputPath;
    if (s.rbOutDir) {
        // A relative folder is taken against the current folder.
        const QString dir = ExpandFullPath(s.edOutDir);
        if (!dir.isEmpty() && !QFileInfo(dir).isDir())
            QDir().mkpath(dir);
        if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
            if (messages)
                messages->warning(FormatAppString(strings.Main.CantCreateDirectory, s.edOutDir));
            result.action = TOutputPath::Failed;
            return result;
        }
        out = JoinPath(NormalizeDirPath(dir), QFileInfo(inputPath).fileName());
    }

    const qsizetype dot = ExtensionDot(out);
    out = (dot >= 0 ? out.left(dot) : out) + GetExt(s, true);

    result.doneText = strings.Main.Done;
    if (PathEntryExists(out)) {
        if (s.cbOutputExists == OutputExists::Rename || IsSameFile(out, inputPath)) {
            out = UniqueOutputName(out, QStringLiteral("_"), 3);
            result.doneText = strings.Main.OK_Renamed;
        }
        if (s.cbOutputExists == OutputExists::Skip) {
            result.action = TOutputPath::Skip;
            result.doneText = strings.Main.Skipped;
        } else if (s.cbOutputExists == OutputExists::Overwrite) {
            result.doneText = strings.Main.OK_Overwritten;
        }
    }
    result.path = out;
    return result;
}
