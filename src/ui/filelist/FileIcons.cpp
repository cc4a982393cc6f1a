#include "ui/filelist/FileIcons.h"

#include <QApplication>
#include <QStyle>

QIcon FileIcons::iconFor(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString suffix = dot >= 0 ? fileName.mid(dot).toLower() : QString();
    const auto known = m_bySuffix.constFind(suffix);
    if (known != m_bySuffix.cend())
        return *known;
    QIcon icon
        = iconForMimeType(m_mimeDatabase.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension));
    m_bySuffix.insert(suffix, icon);
    return icon;
}

QIcon FileIcons::iconForMimeType(const QMimeType &type)
{
    const auto known = m_byMimeType.constFind(type.name());
    if (known != m_byMimeType.cend())
        return *known;
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    m_byMimeType.insert(type.name(), icon);
    return icon;
}
