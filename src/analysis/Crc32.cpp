#include "analysis/Crc32.h"

#include <QFile>
#include <QVarLengthArray>
#include <zlib.h>

std::optional<uint32_t> Crc32OfFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QVarLengthArray<char> block(Crc32BlockSize);
    uLong crc = crc32(0L, Z_NULL, 0);
    for (;;) {
        const qint64 got = file.read(block.data(), Crc32BlockSize);
        if (got < 0) {
            if (error)
                *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
            return std::nullopt;
        }
        if (got == 0)
            break;
        crc = crc32(crc, reinterpret_cast<const Bytef *>(block.constData()), uInt(got));
    }
    return uint32_t(crc);
}

QString Crc32Hex(uint32_t crc)
{
    return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0')).toUpper();
}
