#include "i18n/FFmpegMissing.h"

#include "app/AppInfo.h"
#include "i18n/AppStrings.h"

QString FFmpegMissingText(const TAppStrings &strings)
{
    const QString program = QLatin1String(AppInfo::ProgramName);
    return FormatAppString(strings.Main.FFmpegNotExists, program + QLatin1String(".zip"), program);
}
