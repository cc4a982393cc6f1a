#include "app/AppInfo.h"

namespace AppInfo {

QString ProgramBits()
{
    return QString::number(sizeof(void *) * 8);
}

QString ProgramTitle()
{
    return QStringLiteral("%1 %2  [%3-bit]")
        .arg(QLatin1String(ProgramName), QLatin1String(ProgramVersion), ProgramBits());
}

QString ProgramVersionText()
{
    return QStringLiteral("%1  %2-bit").arg(QLatin1String(ProgramVersion), ProgramBits());
}

} // namespace AppInfo
