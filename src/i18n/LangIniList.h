#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// One usable language file.
struct TLangIniListItem
{
    QString FileName; // full path
    QString DisplayName; // never empty for a listed file
    QString LangName_InEnglish;
    QString LangName_Native; // may be empty
};

// The language files offered to the user.
class TLangIniList
{
public:
    // Where the display name is read; a file without it is not listed.
    QString SectionWithDisplayName = QStringLiteral("INFO");
    QString DisplayNameID = QStringLiteral("LangName_InEnglish");

    // Adds one item per file "*.<ext>" (a leading "." of ext is ignored) in
    // dir, not in its subfolders. A missing folder adds nothing.
    void AddIniFilesFromDir(const QString &dir, const QString &ext);

    qsizetype count() const { return m_items.size(); }
    const QList<TLangIniListItem> &items() const { return m_items; }
    // nullptr when index is out of range.
    const TLangIniListItem *GetItem(qsizetype index) const;
    // The first item whose native name, or whose file name without folder,
    // equals the argument after trimming and upper-casing both; nullptr when
    // none does.
    const TLangIniListItem *GetItemByNativeName(QStringView nativeName) const;
    const TLangIniListItem *GetItemByShortFileName(QStringView shortFileName) const;
    // Index of GetItemByShortFileName's item, -1 when none.
    qsizetype indexOfShortFileName(QStringView shortFileName) const;

private:
    QList<TLangIniListItem> m_items;
};
