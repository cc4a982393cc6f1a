#include "i18n/FFmpegMissing.h"

#include "app/AppInfo.h"
#include "i18n/AppStrings.h"

QString FFmpegMissingText(const TAppStrings &strings)
{
    return FormatAppString(strings.Main.FFmpegNotExists, QLatin1String(AppInfo::ProgramName));
}
