#include "filelist/InputFilter.h"

#include "app/FileIdentity.h"
#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "filelist/SupportedExtensions.h"

#include <QFileInfo>
#include <set>

QStringList FilterInputFiles(const QStringList &inputs, QStringList *notes, int *nonUtf8Count)
{
    QStringList accepted;
    std::set<FileIdentity> taken; // one stat per input, not one per pair
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
        const std::optional<FileIdentity> identity = fileIdentityOf(path);
        if (identity && !taken.insert(*identity).second) {
            note(input, "already listed");
            continue;
        }
        accepted.append(path);
    }
    return accepted;
}
