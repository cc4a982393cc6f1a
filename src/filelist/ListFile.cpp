#include "filelist/ListFile.h"

#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "app/TextHelpers.h"

#include <QFile>
#include <QStringDecoder>

QStringList DecodeListFile(const QByteArray &bytes)
{
    // UTF-8 lines keep bytes that are not UTF-8 recognisable, so that such a
    // name is reported rather than taken for another.
    static constexpr char Utf8Bom[] = "\xEF\xBB\xBF";
    QString text;
    const auto encoding = QStringConverter::encodingForData(bytes);
    if (!encoding)
        text = DecodeLocalName(bytes);
    else if (*encoding == QStringConverter::Utf8)
        text = DecodeLocalName(QByteArrayView(bytes).sliced(bytes.startsWith(Utf8Bom) ? 3 : 0));
    else
        // The decoder skips the byte-order mark.
        text = WithoutLoneSurrogates(QStringDecoder(*encoding).decode(bytes));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n') || text.isEmpty())
        lines.removeLast();
    // Lists passed through a Windows tool more than once end in CR CR LF.
    for (QString &line : lines)
        while (line.endsWith(u'\r'))
            line.chop(1);
    return lines;
}

bool ReadListFile(const QString &path, QStringList &lines, QString *error)
{
    const auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(
            QStringLiteral("cannot read the list file \"%1\": %2").arg(path, file.errorString()));

    QByteArray bytes;
    char chunk[64 * 1024];
    qint64 lineBytes = 0; // since the last LF
    qint64 lineNumber = 1;
    for (;;) {
        const qint64 got = file.read(chunk, sizeof chunk);
        if (got < 0)
            return fail(QStringLiteral("cannot read the list file \"%1\": %2")
                            .arg(path, file.errorString()));
        if (got == 0)
            break;
        if (bytes.size() + got > MaxListFileBytes)
            return fail(QStringLiteral("the list file \"%1\" is larger than %2 MB")
                            .arg(path, QString::number(MaxListFileBytes / (1024 * 1024))));
        // Counting LF bytes also finds the line ends of UTF-16 text.
        for (qint64 i = 0; i < got; ++i) {
            if (chunk[i] == '\n') {
                lineBytes = 0;
                ++lineNumber;
            } else if (++lineBytes > MaxListFileLineBytes) {
                return fail(QStringLiteral("line %1 of the list file \"%2\" is longer than %3 KB")
                                .arg(QString::number(lineNumber), path,
                                    QString::number(MaxListFileLineBytes / 1024)));
            }
        }
        bytes.append(chunk, got);
    }
    lines = DecodeListFile(bytes);
    return true;
}

QString ListFileLinePath(const QString &line)
{
    const qsizetype slash = line.lastIndexOf(u'/');
    if (slash < 0)
        return line;
    const QString name = line.mid(slash + 1);
    const QString dir = NormalizeDirPath(line.left(slash));
    if (dir.isEmpty()) // the root keeps its "/"; "./a.mkv" stays relative
        return line.startsWith(u'/') ? u'/' + name : name;
    return JoinPath(dir, name);
}

QByteArray EncodeListFile(const QStringList &paths)
{
    QByteArray bytes;
    // A reader takes a leading U+FEFF for a byte-order mark: a first name
    // that starts with one keeps it behind a real mark.
    if (!paths.isEmpty() && paths.first().startsWith(QChar(0xFEFF)))
        bytes = "\xEF\xBB\xBF";
    for (const QString &path : paths)
        bytes += path.toUtf8() + "\r\n";
    return bytes;
}
