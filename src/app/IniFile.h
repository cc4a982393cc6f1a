#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// An INI file with the observable rules of the classic private-profile
// functions: section and key names match without regard to case, writing a
// key replaces it in place (or appends it to its section, or appends a new
// section), and every other line of the file is kept exactly as it was.
// Read values are cut to 2047 characters. Files are read as UTF-8 or UTF-16
// (by byte-order mark, UTF-8 without one) and written as UTF-8 without one;
// saving replaces the file atomically.
class IniFile
{
public:
    static constexpr int MaxValueLength = 2047;

    IniFile() = default;
    explicit IniFile(const QString &path);

    // Reads the file named at construction. A missing or unreadable file,
    // or one that is not a small regular file, gives an empty document,
    // false and the reason in error.
    bool load(QString *error = nullptr);
    void loadFromBytes(const QByteArray &bytes);
    static QString decodeText(const QByteArray &bytes);

    const QString &path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }

    bool hasSection(const QString &section) const;
    bool hasKey(const QString &section, const QString &key) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    QString readString(
        const QString &section, const QString &key, const QString &defaultValue = {}) const;
    // Decimal, or hexadecimal after "0x"; anything else gives the default.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // Read as an integer: 0 is false, any other integer true.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);

    QByteArray toBytes() const;
    // Writes a temporary file beside the target and renames it over the
    // target, so a failure never leaves half a file. On failure the old
    // file stays and errorText (when given) says why.
    bool save(QString *errorText = nullptr) const;

    static bool parseInteger(const QString &text, int *value);

private:
    struct Line
    {
        QString text; // the line as it stands in the file
        QString name; // section name of a header, key of a key line
        int header = -1; // header line of the section the line belongs to
        bool isHeader = false;
    };

    static Line parseLine(const QString &text, int currentHeader);
    void rebuildIndex() const;
    int findSection(const QString &section) const;
    int findKey(const QString &section, const QString &key) const;
    static QString indexKey(const QString &section, const QString &key);

    QString m_path;
    std::vector<Line> m_lines;
    // Lookups go through hashes of lower-cased names; the first section of a
    // name and the first key of a name within it win.
    mutable QHash<QString, int> m_keyIndex;
    mutable QHash<QString, int> m_sectionIndex;
    mutable bool m_indexValid = false;
};
