#include "app/IniFile.h"

#include "app/SafeSave.h"
#include "app/SmallFile.h"
#include "app/TextHelpers.h"

#include <QFile>
#include <QStringDecoder>

IniFile::IniFile(const QString &path)
    : m_path(path)
{ }

bool IniFile::load(QString *error)
{
    const std::optional<QByteArray> bytes = ReadSmallFile(m_path, error);
    loadFromBytes(bytes.value_or(QByteArray()));
    return bytes.has_value();
}

QString IniFile::decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringDecoder::Utf16LE);
        return WithoutLoneSurrogates(decoder(bytes.mid(2)));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(QStringDecoder::Utf16BE);
        return WithoutLoneSurrogates(decoder(bytes.mid(2)));
    }
    return QString::fromUtf8(bytes);
}

IniFile::Line IniFile::parseLine(const QString &text, int currentHeader)
{
    Line line;
    line.text = text;
    line.header = currentHeader;
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(u'[') && trimmed.endsWith(u']') && trimmed.size() >= 2) {
        line.isHeader = true;
        line.name = trimmed.mid(1, trimmed.size() - 2).trimmed();
        return line;
    }
    if (trimmed.startsWith(u';'))
        return line;
    const qsizetype eq = trimmed.indexOf(u'=');
    if (eq > 0)
        line.name = trimmed.left(eq).trimmed();
    return line;
}

void IniFile::loadFromBytes(const QByteArray &bytes)
{
    m_lines.clear();
    m_indexValid = false;
    QString text = decodeText(bytes);
    if (text.isEmpty())
        return;
    if (text.endsWith(u'\n'))
        text.chop(1);
    int header = -1;
    const QStringList rows = text.split(u'\n');
    m_lines.reserve(rows.size());
    for (QString row : rows) {
        if (row.endsWith(u'\r'))
            row.chop(1);
        Line line = parseLine(row, header);
        if (line.isHeader) {
            header = int(m_lines.size());
            line.header = header;
        }
        m_lines.push_back(std::move(line));
    }
}

QString IniFile::indexKey(const QString &section, const QString &key)
{
    return section.toLower() + u'\n' + key.toLower();
}

void IniFile::rebuildIndex() const
{
    m_keyIndex.clear();
    m_sectionIndex.clear();
    // A second section of the same name is ignored, as are the keys in it.
    for (int i = 0; i < int(m_lines.size()); ++i) {
        const Line &line = m_lines[size_t(i)];
        if (line.isHeader && !m_sectionIndex.contains(line.name.toLower()))
            m_sectionIndex.insert(line.name.toLower(), i);
    }
    for (int i = 0; i < int(m_lines.size()); ++i) {
        const Line &line = m_lines[size_t(i)];
        if (line.isHeader || line.name.isEmpty() || line.header < 0)
            continue;
        const QString &sectionName = m_lines[size_t(line.header)].name;
        if (m_sectionIndex.value(sectionName.toLower(), -1) != line.header)
            continue;
        const QString k = indexKey(sectionName, line.name);
        if (!m_keyIndex.contains(k))
            m_keyIndex.insert(k, i);
    }
    m_indexValid = true;
}

int IniFile::findSection(const QString &section) const
{
    if (!m_indexValid)
        rebuildIndex();
    return m_sectionIndex.value(section.trimmed().toLower(), -1);
}

int IniFile::findKey(const QString &section, const QString &key) const
{
    if (!m_indexValid)
        rebuildIndex();
    return m_keyIndex.value(indexKey(section.trimmed(), key.trimmed()), -1);
}

bool IniFile::hasSection(const QString &section) const
{
    return findSection(section) >= 0;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return findKey(section, key) >= 0;
}

QStringList IniFile::sections() const
{
    QStringList result;
    for (const Line &line : m_lines)
        if (line.isHeader)
            result << line.name;
    return result;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList result;
    const int header = findSection(section);
    if (header < 0)
        return result;
    for (size_t i = size_t(header) + 1; i < m_lines.size() && !m_lines[i].isHeader; ++i)
        if (!m_lines[i].name.isEmpty())
            result << m_lines[i].name;
    return result;
}

QString IniFile::readString(
    const QString &section, const QString &key, const QString &defaultValue) const
{
    const int index = findKey(section, key);
    if (index < 0)
        return defaultValue.left(MaxValueLength);
    const QString &text = m_lines[size_t(index)].text;
    return text.mid(text.indexOf(u'=') + 1).trimmed().left(MaxValueLength);
}

bool IniFile::parseInteger(const QString &text, int *value)
{
    const QString t = text.trimmed();
    bool ok = false;
    int v = 0;
    if (t.size() > 2 && t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = int(t.mid(2).toUInt(&ok, 16));
    else
        v = t.toInt(&ok, 10);
    if (ok && value)
        *value = v;
    return ok;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    if (!hasKey(section, key))
        return defaultValue;
    int value = defaultValue;
    return parseInteger(readString(section, key), &value) ? value : defaultValue;
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    // A line break inside a value would turn its remainder into lines of
    // their own, possibly new keys or sections.
    QString safeValue = value;
    safeValue.replace(u'\r', u' ').replace(u'\n', u' ');

    const int existing = findKey(section, key);
    if (existing >= 0) {
        Line &line = m_lines[size_t(existing)];
        line.text = line.name + u'=' + safeValue;
        return;
    }
    int header = findSection(section);
    Line line;
    line.name = key.trimmed();
    line.text = line.name + u'=' + safeValue;
    // The index is kept up to date rather than rebuilt: a settings file
    // saved key by key would otherwise cost the square of its length.
    if (header < 0) {
        Line head;
        head.isHeader = true;
        head.name = section.trimmed();
        head.text = u'[' + head.name + u']';
        header = int(m_lines.size());
        head.header = header;
        line.header = header;
        m_sectionIndex.insert(head.name.toLower(), header);
        m_lines.push_back(head);
        m_lines.push_back(line);
        m_keyIndex.insert(indexKey(head.name, line.name), header + 1);
        return;
    }
    // After the last non-blank line of the section.
    size_t insertAt = size_t(header) + 1;
    for (size_t i = size_t(header) + 1; i < m_lines.size() && !m_lines[i].isHeader; ++i)
        if (!m_lines[i].text.trimmed().isEmpty())
            insertAt = i + 1;
    line.header = header;
    m_lines.insert(m_lines.begin() + qsizetype(insertAt), line);
    for (size_t i = insertAt + 1; i < m_lines.size(); ++i)
        if (m_lines[i].header >= int(insertAt))
            ++m_lines[i].header;
    for (QHash<QString, int> *index : {&m_keyIndex, &m_sectionIndex})
        for (int &at : *index)
            if (at >= int(insertAt))
                ++at;
    m_keyIndex.insert(indexKey(m_lines[size_t(header)].name, line.name), int(insertAt));
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QByteArray IniFile::toBytes() const
{
    QString text;
    for (const Line &line : m_lines) {
        text += line.text;
        text += u'\n';
    }
    return text.toUtf8();
}

bool IniFile::save(QString *errorText) const
{
    return SaveWholeFile(m_path, toBytes(), errorText);
}
