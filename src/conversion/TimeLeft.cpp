#include "conversion/TimeLeft.h"

#include "conversion/ConversionRow.h"

#include "app/AppInfo.h"
#include "i18n/AppStrings.h"

#include <algorithm>
#include <cmath>

NextFiles NextFilesAfter(const std::vector<ConversionRow> &rows, size_t index)
{
    NextFiles next;
    for (size_t i = index + 1; i < rows.size(); ++i) {
        const ConversionRow &row = rows[i];
        if (!row.Checked)
            continue;
        if (row.DurationMs > 0) {
            next.KnownMs += row.DurationMs;
            ++next.Known;
        } else {
            ++next.Unknown;
        }
    }
    return next;
}

TimeLeft EstimateTimeLeft(const TimeLeftInputs &in)
{
    TimeLeft left;
    if (in.TotalFrames <= 0 || in.FileDurationMs <= 0 || in.Speed <= 0)
        return left;
    // A pause stopped FFmpeg but not the clock its speed is measured by.
    double speed = in.Speed;
    const int64_t active = in.PassRunningMs - in.PassPausedMs;
    if (in.PassPausedMs > 0 && active > 0)
        speed = speed * double(in.PassRunningMs) / double(active);

    const double done = std::clamp(double(in.FramesDone) / double(in.TotalFrames), 0.0, 1.0);
    const int passCount = std::max(1, in.PassCount);
    const int passesAfter = std::clamp(passCount - std::max(1, in.PassNo), 0, passCount - 1);
    const double fileMediaMs = in.FileDurationMs * (1.0 - done + passesAfter);
    left.FileMs = int64_t(std::llround(fileMediaMs / speed));

    const double average = (in.NextFilesKnownMs + in.FileDurationMs) / (in.NextFilesKnown + 1);
    const double nextMediaMs = (in.NextFilesKnownMs + average * in.NextFilesUnknown) * passCount;
    left.BatchMs = left.FileMs + int64_t(std::llround(nextMediaMs / speed));
    return left;
}

double ParseFFmpegSpeed(const QString &text)
{
    QString number = text.trimmed();
    if (number.endsWith(u'x'))
        number.chop(1);
    bool ok = false;
    const double speed = number.trimmed().toDouble(&ok);
    return ok && std::isfinite(speed) && speed > 0 ? speed : 0;
}

QString FormatTimeSpan(int64_t ms)
{
    if (ms < 0)
        return QStringLiteral("--:--");
    const int64_t seconds = ms / 1000;
    const int64_t hours = seconds / 3600;
    const auto twoDigits
        = [](int64_t value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    if (hours > 0)
        return QString::number(hours) + u':' + twoDigits(seconds / 60 % 60) + u':'
            + twoDigits(seconds % 60);
    return QString::number(seconds / 60) + u':' + twoDigits(seconds % 60);
}

QString TitleWithTimeLeft(const QString &title, int64_t batchMs, const QString &leftFormat)
{
    if (batchMs < 0 || title.isEmpty())
        return title;
    const QString left = FormatAppString(leftFormat, FormatTimeSpan(batchMs));
    const QString tail = QStringLiteral(" - ") + QLatin1String(AppInfo::ProgramName);
    if (title.endsWith(tail))
        return title.chopped(tail.size()) + QStringLiteral(", ") + left + tail;
    return title + QStringLiteral(", ") + left;
}
