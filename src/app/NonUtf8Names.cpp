#include "app/NonUtf8Names.h"

#include <QStringDecoder>

#include <cstdlib>
#include <unistd.h>

namespace {

constexpr char16_t FirstKeptByte = 0xDC80; // holds byte 0x80
constexpr char16_t LastKeptByte = 0xDCFF; // holds byte 0xFF

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at bytes[at], or 0: overlong
// forms, encoded surrogates and values beyond U+10FFFF are invalid.
qsizetype validSequenceLength(QByteArrayView bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    qsizetype length;
    unsigned char low = 0x80, high = 0xBF; // bounds of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > bytes.size() || byte(1) < low || byte(1) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i)
        if (!isContinuation(byte(i)))
            return 0;
    return length;
}

// The kept byte at name[i], or -1: a low surrogate in the kept range that
// is not the second half of a pair.
int keptByteAt(const QString &name, qsizetype i)
{
    const char16_t c = name.at(i).unicode();
    if (c < FirstKeptByte || c > LastKeptByte || (i > 0 && name.at(i - 1).isHighSurrogate()))
        return -1;
    return c - 0xDC00;
}
// QString::fromUtf8 drops a leading U+FEFF as a byte-order mark; at the
// start of a name (or of a run after an odd byte) it is part of the name.
QString utf8Text(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

QString DecodeLocalName(QByteArrayView bytes)
{
    if (bytes.isValidUtf8())
        return utf8Text(bytes);
    QString name;
    name.reserve(bytes.size());
    qsizetype runStart = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = validSequenceLength(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        name += utf8Text(bytes.sliced(runStart, at - runStart));
        name += QChar(char16_t(0xDC00 + static_cast<unsigned char>(bytes[at])));
        runStart = ++at;
    }
    name += utf8Text(bytes.sliced(runStart));
    return name;
}

bool HasNonUtf8Bytes(const QString &name)
{
    for (qsizetype i = 0; i < name.size(); ++i)
        if (keptByteAt(name, i) >= 0)
            return true;
    return false;
}

QString EscapedNonUtf8Name(const QString &name)
{
    if (!HasNonUtf8Bytes(name))
        return name;
    QString escaped;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const int byte = keptByteAt(name, i);
        if (byte < 0)
            escaped += name.at(i);
        else
            escaped += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return escaped;
}

QString NonUtf8NameMessage(const QString &name)
{
    return QStringLiteral("\"%1\": the name is not valid UTF-8").arg(EscapedNonUtf8Name(name));
}

QString NonUtf8NamesMessage(const QStringList &names)
{
    if (names.size() == 1)
        return NonUtf8NameMessage(names.constFirst());
    constexpr qsizetype Shown = 5;
    QStringList shown;
    for (const QString &name : names.first(std::min(Shown, names.size())))
        shown << u'"' + EscapedNonUtf8Name(name) + u'"';
    if (names.size() > Shown)
        shown << QStringLiteral("...");
    return QStringLiteral("%1 names were skipped because they are not valid UTF-8:\n%2")
        .arg(QString::number(names.size()), shown.join(u'\n'));
}

QString CurrentDirName()
{
    // Not QDir::currentPath(): it would turn a folder name that is not
    // UTF-8 into another name.
    char *dir = ::getcwd(nullptr, 0);
    if (!dir)
        return {};
    QString name = DecodeLocalName(dir);
    std::free(dir);
    return name;
}
