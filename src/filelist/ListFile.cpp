#include "filelist/ListFile.h"

#include "app/ProgramDir.h"

#include <QFile>
#include <QStringDecoder>

QStringList DecodeListFile(const QByteArray &bytes)
{
    QString text;
    if (const auto encoding = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*encoding); // skips the byte-order mark
        text = decoder.decode(bytes);
    } else {
        text = QString::fromUtf8(bytes);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n') || text.isEmpty())
        lines.removeLast();
    return lines;
}

bool ReadListFile(const QString &path, QStringList &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    lines = DecodeListFile(file.readAll());
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
    for (const QString &path : paths)
        bytes += path.toUtf8() + "\r\n";
    return bytes;
}
