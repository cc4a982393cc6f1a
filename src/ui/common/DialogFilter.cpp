#include "ui/common/DialogFilter.h"

QString DialogFilter(const QString &entry, const QString &patterns)
{
    QString name = entry.trimmed();
    if (name.endsWith(u')') && name.contains(u'('))
        name = name.left(name.lastIndexOf(u'(')).trimmed();
    return name + QStringLiteral(" (") + patterns + u')';
}
