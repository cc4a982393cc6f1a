// The INI reader on any bytes: what it reads survives a save, and a written
// value reads back as written, without disturbing any other value.

#include "FuzzSupport.h"

#include "app/IniFile.h"

#include <QList>
#include <tuple>
#include <utility>

namespace {

using Value = std::tuple<QString, QString, QString>; // section, key, value

QList<Value> valuesOf(const IniFile &ini)
{
    QList<Value> values;
    for (const QString &section : ini.sections())
        for (const QString &key : ini.keys(section))
            values.append({section.toLower(), key.toLower(), ini.readString(section, key)});
    return values;
}

// What the reader gives back for a written value.
QString asRead(QString value)
{
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    return value.trimmed().left(IniFile::MaxValueLength);
}

void checkWrite(IniFile &ini, const QString &section, const QString &key, const QString &value,
    QList<std::pair<QString, QString>> &written)
{
    written.append({section.toLower(), key.toLower()});
    ini.writeString(section, key, value);
    QLN_FUZZ_CHECK(ini.readString(section, key) == asRead(value));
    IniFile reread;
    reread.loadFromBytes(ini.toBytes());
    QLN_FUZZ_CHECK(reread.readString(section, key) == asRead(value));
    QLN_FUZZ_CHECK(valuesOf(reread) == valuesOf(ini));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesOf(data, size);
    IniFile ini;
    ini.loadFromBytes(bytes);
    const QList<Value> before = valuesOf(ini);
    for (const auto &[section, key, value] : before)
        QLN_FUZZ_CHECK(value.size() <= IniFile::MaxValueLength);

    IniFile reread;
    reread.loadFromBytes(ini.toBytes());
    QLN_FUZZ_CHECK(valuesOf(reread) == before);

    // The value written is the input's first line; the keys written replace
    // one in place, join an existing section and start a new one.
    const QString text = IniFile::decodeText(bytes);
    const QString value = text.left(text.indexOf(u'\n'));
    QList<std::pair<QString, QString>> written;
    const QStringList sections = ini.sections();
    if (!sections.isEmpty()) {
        const QString section = sections.first();
        const QStringList keys = ini.keys(section);
        // A hand-made key "[name" would turn into a header with a value
        // ending in "]"; the program writes no such key.
        if (!keys.isEmpty() && !keys.last().startsWith(u'['))
            checkWrite(ini, section, keys.last(), value, written);
        checkWrite(ini, section, QStringLiteral("FuzzAdded"), value, written);
    }
    checkWrite(ini, QStringLiteral("Fuzz New Section"), QStringLiteral("Key"), value, written);

    // Every value that was not written is as it was.
    for (const auto &[section, key, oldValue] : before)
        if (!written.contains(std::pair(section, key)))
            QLN_FUZZ_CHECK(ini.readString(section, key) == oldValue);
    return 0;
}
