#include "i18n/LangIniList.h"

#include "app/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

namespace {

QString comparable(QStringView text)
{
    return QLocale().toUpper(text.trimmed().toString());
}

} // namespace

void TLangIniList::AddIniFilesFromDir(const QString &dir, const QString &ext)
{
    const QString suffix = ext.startsWith(u'.') ? ext.mid(1) : ext;
    const QDir folder(dir);
    if (dir.isEmpty() || !folder.exists())
        return;
    // Matched without regard to case, as "*.ini" also finds "German.INI".
    QFileInfoList files = folder.entryInfoList(
        {QStringLiteral("*.") + suffix}, QDir::Files | QDir::Readable, QDir::Unsorted);
    // Sorted by file name: the folder listing comes in no particular order
    // here, and the first of two files with one native name must be the
    // same on every machine.
    std::sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const int c = QString::compare(a.fileName(), b.fileName(), Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.fileName() < b.fileName();
    });

    for (const QFileInfo &file : files) {
        IniFile ini(file.absoluteFilePath());
        if (!ini.load())
            continue;
        TLangIniListItem item;
        item.DisplayName = ini.readString(SectionWithDisplayName, DisplayNameID);
        if (item.DisplayName.isEmpty())
            continue;
        item.FileName = file.absoluteFilePath();
        item.LangName_InEnglish
            = ini.readString(SectionWithDisplayName, QStringLiteral("LangName_InEnglish"));
        item.LangName_Native
            = ini.readString(SectionWithDisplayName, QStringLiteral("LangName_Native"));
        m_items.append(item);
    }
}

const TLangIniListItem *TLangIniList::GetItem(qsizetype index) const
{
    return index >= 0 && index < m_items.size() ? &m_items[index] : nullptr;
}

const TLangIniListItem *TLangIniList::GetItemByNativeName(QStringView nativeName) const
{
    const QString wanted = comparable(nativeName);
    for (const TLangIniListItem &item : m_items)
        if (comparable(item.LangName_Native) == wanted)
            return &item;
    return nullptr;
}

const TLangIniListItem *TLangIniList::GetItemByShortFileName(QStringView shortFileName) const
{
    return GetItem(indexOfShortFileName(shortFileName));
}

qsizetype TLangIniList::indexOfShortFileName(QStringView shortFileName) const
{
    const QString wanted = comparable(shortFileName);
    for (qsizetype i = 0; i < m_items.size(); ++i)
        if (comparable(QFileInfo(m_items[i].FileName).fileName()) == wanted)
            return i;
    return -1;
}
