// List files on any bytes: the file reader and the decoder agree, a saved
// list reads back as it was, and the path a line adds names its file.

#include "FuzzSupport.h"

#include "app/NonUtf8Names.h"
#include "filelist/ListFile.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesOf(data, size);
    const QStringList lines = DecodeListFile(bytes);

    QStringList read;
    QString error;
    QLN_FUZZ_CHECK(
        ReadListFile(Fuzz::writeScratchFile(QStringLiteral("list.lst"), bytes), read, &error));
    QLN_FUZZ_CHECK(read == lines);

    QStringList saved;
    for (const QString &line : lines) {
        QLN_FUZZ_CHECK(!line.contains(u'\n') && !line.endsWith(u'\r'));
        const QString path = ListFileLinePath(line);
        // Only a trailing "." and "/" of the folder go: the same file.
        QLN_FUZZ_CHECK(QDir::cleanPath(path) == QDir::cleanPath(line));
        // Names that are not UTF-8 are reported and never listed, so never saved.
        if (!HasNonUtf8Bytes(path))
            saved << path;
    }
    QLN_FUZZ_CHECK(DecodeListFile(EncodeListFile(saved)) == saved);
    return 0;
}
