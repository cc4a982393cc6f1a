// List files on any bytes: the file reader and the decoder agree, a saved
// list reads back as it was, and the path a line adds names its file.

#include "FuzzSupport.h"

#include "app/NonUtf8Names.h"
#include "filelist/ListFile.h"

namespace {

// The name stays and the folder loses no more than a trailing "/", "/."
// or a lone ".": the path names the line's file, never another.
void checkSameFile(const QString &line, const QString &path)
{
    const qsizetype lineSlash = line.lastIndexOf(u'/');
    const qsizetype pathSlash = path.lastIndexOf(u'/');
    QLN_FUZZ_CHECK(path.mid(pathSlash + 1) == line.mid(lineSlash + 1));
    QLN_FUZZ_CHECK(path.startsWith(u'/') == line.startsWith(u'/'));
    const QString folder = lineSlash >= 0 ? line.left(lineSlash) : QString();
    const QString kept = pathSlash >= 0 ? path.left(pathSlash) : QString();
    QLN_FUZZ_CHECK(folder.startsWith(kept));
    const QString removed = folder.mid(kept.size());
    QLN_FUZZ_CHECK(removed.isEmpty() || removed == u"/" || removed == u"/."
        || (removed == u"." && kept.isEmpty()));
}

} // namespace

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
        checkSameFile(line, path);
        // Names that are not UTF-8 are reported and never listed, so never saved.
        if (!HasNonUtf8Bytes(path))
            saved << path;
    }
    QLN_FUZZ_CHECK(DecodeListFile(EncodeListFile(saved)) == saved);
    return 0;
}
