#include "encoding/AdvancedParams.h"

#include "analysis/VideoFileInfo.h"
#include "app/ProgramDir.h"
#include "app/TextHelpers.h"
#include "encoding/AudioParams.h"
#include "encoding/PieceContext.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <numbers>

namespace {

// Keeps sizes from absurd typed numbers within int.
int ClampSide(int64_t value)
{
    return int(std::clamp<int64_t>(value, -(int64_t(1) << 30), int64_t(1) << 30));
}

int RoundToMultipleOf8(int value)
{
    if (value % 8 == 0)
        return value;
    return ClampSide(RoundHalfEven(value / 8.0) * 8);
}

QString EvenSize(int width, int height)
{
    return QStringLiteral("scale=%1:%2")
        .arg(width + (width % 2 != 0))
        .arg(height + (height % 2 != 0));
}

// The aspect for setdar: upper-cased, blanks removed, the first ":" as "/"
// and a decimal comma as a full stop (a comma would split the filter
// chain); empty for the automatic choice.
QString AspectFilterValue(const QString &text, const TAppStrings &strings)
{
    QString value = text.trimmed().toUpper();
    value.remove(u' ');
    const qsizetype colon = value.indexOf(u':');
    if (colon >= 0)
        value[colon] = u'/';
    value.replace(u',', u'.');
    QString autoWord = strings.Main.Auto.toUpper();
    autoWord.remove(u' ');
    if (value == autoWord)
        return {};
    return value;
}

} // namespace

QSize ParseResolutionText(const QString &Text, const TVideoFileInfo &Info)
{
    int width = 2;
    int height = 2;
    QString text = Text;
    text.remove(u' ');
    text = text.toLower();
    const qsizetype dash = text.indexOf(u'-');
    if (dash >= 0)
        text = text.left(dash).trimmed();
    const qsizetype x = text.indexOf(u'x');
    if (x >= 0) {
        const QString before = text.left(x);
        const QString after = text.mid(x + 1);
        if (IsValidInt(before))
            width = before.toInt();
        if (IsValidInt(after))
            height = after.toInt();
        text = after;
    }
    const qsizetype percent = text.indexOf(u'%');
    if (percent >= 0) {
        const QString number = text.left(percent);
        if (IsValidInt(number)) {
            const double p = number.toInt();
            const TVideoStreamInfo &video = Info.VideoStreams[0];
            width = ClampSide(RoundHalfEven(p * video.Width / 100.0));
            height = ClampSide(RoundHalfEven(p * video.Height / 100.0));
            width += width % 2 != 0;
            height += height % 2 != 0;
        }
    }
    return QSize(RoundToMultipleOf8(width), RoundToMultipleOf8(height));
}

namespace {

QString scaleFilter(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    if (!ctx.enabled.cbResolution)
        return {};
    if (s.cbResolution == Resolution::Custom)
        return EvenSize(s.spedResWidth, s.spedResHeight);
    if (const QString preset = ctx.resolutionText(); !preset.isEmpty()) {
        const QSize size = ParseResolutionText(preset, ctx.info);
        return EvenSize(size.width(), size.height());
    }
    return {};
}

QString cropFilter(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    const TVideoStreamInfo &video = ctx.info.VideoStreams[0];
    const int64_t cropSum
        = int64_t(s.spedCropTop) + s.spedCropBottom + s.spedCropLeft + s.spedCropRight;
    if (!ctx.enabled.spedCropTop || cropSum <= 0)
        return {};
    return QStringLiteral("crop=%1:%2:%3:%4")
        .arg(int64_t(video.Width) - s.spedCropLeft - s.spedCropRight)
        .arg(int64_t(video.Height) - s.spedCropTop - s.spedCropBottom)
        .arg(s.spedCropLeft)
        .arg(s.spedCropTop);
}

QString deinterlaceFilter(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    if (!ctx.enabled.cbInterlacing)
        return {};
    const bool interlaced
        = ctx.info.VideoStreams[0].ScanType.trimmed().toLower() == QLatin1String("interlaced");
    if ((s.cbInterlacing == Interlacing::Auto && interlaced)
        || s.cbInterlacing == Interlacing::Deinterlace)
        return QStringLiteral("yadif");
    return {};
}

QString hueFilter(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    const EnableState &on = ctx.enabled;
    QString hue;
    if (on.chSaturation && s.chSaturation && s.tbSaturation != 0)
        hue = QStringLiteral("s=") + QString::number(s.tbSaturation / 10.0, 'f', 1);
    if (on.chBrightness && s.chBrightness && s.tbBrightness != 0)
        hue += QStringLiteral(":b=") + QString::number(s.tbBrightness / 10.0, 'f', 1);
    if (hue.startsWith(u':'))
        hue.remove(0, 1);
    return hue.isEmpty() ? QString() : QStringLiteral("hue=") + hue;
}

QString rotateFilter(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    if (!ctx.enabled.chRotate || !s.chRotate)
        return {};
    const QString angleText = s.cbRotate.trimmed();
    const int angle = IsValidInt(angleText) ? angleText.toInt() : 0;
    if (angle == 0)
        return {};
    return QStringLiteral("rotate=") + QString::number(angle * std::numbers::pi / 180.0, 'f', 4);
}

QString colorsFilter(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    if (!ctx.enabled.chConvertColors || !s.chConvertColors)
        return {};
    return s.cbConvertColors == ConvertColors::Sepia
        ? QStringLiteral("colorchannelmixer=.393:.769:.189:0:.349:.686:.168:0:.272:.534:.131")
        : QStringLiteral("colorchannelmixer=.3:.4:.3:0:.3:.4:.3:0:.3:.4:.3");
}

QString aspectFilter(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    if (s.IsMpg() || ctx.aviCodec() >= AviCodec::HuffYUV || !ctx.enabled.cbAviVideoAspect)
        return {};
    const QString value = AspectFilterValue(s.cbAviVideoAspect, ctx.strings);
    return value.isEmpty() ? QString() : QStringLiteral("setdar=") + value;
}

// The -vf chain, in the order FFmpeg applies it.
QStringList videoFilterChain(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    const EnableState &on = ctx.enabled;
    QStringList chain;
    for (const QString &filter :
        {deinterlaceFilter(ctx), cropFilter(ctx), scaleFilter(ctx), hueFilter(ctx),
            (on.chFlipHorizontal && s.chFlipHorizontal) ? QStringLiteral("hflip") : QString(),
            (on.chFlipVertical && s.chFlipVertical) ? QStringLiteral("vflip") : QString(),
            colorsFilter(ctx),
            (on.chNegative && s.chNegative) ? QStringLiteral("negate") : QString(),
            rotateFilter(ctx), aspectFilter(ctx)}) {
        if (!filter.isEmpty())
            chain.append(filter);
    }
    return chain;
}

} // namespace

QString GetAdvancedParamsStr(const PieceContext &ctx)
{
    const EncodingSettings &s = ctx.settings;
    const EnableState &on = ctx.enabled;

    QString tag;
    const QString tagText = s.cbVideoTag.trimmed();
    if (on.chVideoFourcc && s.chVideoFourcc && !tagText.isEmpty())
        tag = QStringLiteral("-vtag ") + tagText;

    QString map;
    if (on.cbAudioTrackNo && s.cbAudioTrackNo > 0)
        map = GetMapParams(ctx);

    const QStringList chain = videoFilterChain(ctx);
    QString result;
    if (!tag.isEmpty())
        result += u' ' + tag;
    if (!chain.isEmpty())
        result = QStringLiteral("-vf ") + chain.join(u',') + u' ' + result;
    if (!map.isEmpty())
        result += u' ' + map;
    // Typed texts (tag, aspect) must not carry quotes into the command.
    result.remove(u'"');
    return result;
}

QString GetAdditionalParamsStr(const PieceContext &ctx)
{
    QString result;
    for (const QString &line : MemoLines(ctx.settings.meParams))
        result += u' ' + line;
    return result;
}

QStringList MemoLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(u'\r', u'\n');
    QStringList lines = normalized.split(u'\n');
    if (normalized.endsWith(u'\n'))
        lines.removeLast();
    return lines;
}

QString FFmpegHelpFile(const QString &ffmpegPath)
{
    if (ffmpegPath.isEmpty())
        return {};
    const QString folder = NormalizeDirPath(QFileInfo(ffmpegPath).absolutePath());
    const QString help = JoinPath(folder, QStringLiteral("ffmpeg_HELP_long.txt"));
    return QFileInfo(help).isFile() ? help : QString();
}
