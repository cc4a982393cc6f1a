#pragma once

#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QString>

// The icon of a file from the desktop's icon theme by its MIME type, with
// a built-in icon where the theme has none. Decided by the name alone (no
// read of the file on the window's thread) and cached per extension and per
// MIME type, so a thousand rows of one kind share one icon.
class FileIcons
{
public:
    QIcon iconFor(const QString &fileName);

private:
    QIcon iconForMimeType(const QMimeType &type);

    QMimeDatabase m_mimeDatabase;
    QHash<QString, QIcon> m_bySuffix;
    QHash<QString, QIcon> m_byMimeType;
};
