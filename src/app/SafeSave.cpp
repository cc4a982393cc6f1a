#include "app/SafeSave.h"

#include "app/TextHelpers.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

bool SaveWholeFile(const QString &path, const QByteArray &bytes, QString *errorText,
    const std::function<bool(QSaveFile &)> &beforeCommit)
{
    const auto fail = [&path, errorText](const QString &reason) {
        if (errorText)
            *errorText = QStringLiteral("Cannot write \"%1\": %2").arg(path, reason);
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("No file name"));
    // A FIFO or a device in the file's place is the user's, never replaced.
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return fail(QStringLiteral("Not a regular file"));
    QSaveFile file(path);
    // Unbuffered, so that a full disk fails the write itself: Qt 6.4's
    // commit() does not notice a failed flush of its own buffer and would
    // put an empty or cut file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        // Qt names no reason for a failed unbuffered write.
        const QString reason = SystemErrorText(errno);
        file.cancelWriting();
        return fail(reason);
    }
    if (beforeCommit && !beforeCommit(file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    // Some file systems report a full disk only when the data goes to disk;
    // commit() syncs too but ignores the answer.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS) {
        const QString reason = SystemErrorText(errno);
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
