#include "conversion/StatusLine.h"

#include "conversion/StatusMarkup.h"
#include "i18n/AppStrings.h"

#include <QStringList>

namespace {

// Between two fields of the status line, the only places where it wraps:
// the colons stay with the field before them.
const QString Separator = NoBreakMarkup(QStringLiteral("    ::")) + QStringLiteral("    ");

} // namespace

StatusLineWords::StatusLineWords(const TAppStrings &strings)
    : convertingFile(strings.Progress.ConvertingFile)
    , pass(strings.Progress.Conversion_Pass)
    , speed(strings.Progress.Conversion_Speed)
    , framesPerSecond(strings.Progress.Conversion_FramesPerSecond)
    , frame(strings.Progress.Conversion_Frame)
    , progress(strings.Progress.lblProgress)
{ }

QString SpeedMarkup(const QString &speed)
{
    return QStringLiteral(" <b><FONT bgcolor=\"#496954\" color=\"#E0EBE0\">  ")
        + speed.toHtmlEscaped() + QStringLiteral("  </FONT></b> ");
}

QString SizeMarkup(const QString &size, bool inBytes)
{
    return inBytes ? QStringLiteral("<b>") + size + QStringLiteral("</b>") : size.toHtmlEscaped();
}

QString StatusLineMarkup(const StatusLineFacts &facts, const StatusLineWords &words)
{
    const QString n = QString::number(facts.FileNo);
    const QString m = QString::number(facts.FileCount);
    if (facts.AudioOnly)
        return NoBreakMarkup(words.convertingFile + u' ' + n + QStringLiteral(" / ") + m);

    // Each field keeps its blanks from wrapping, so that a narrow window
    // never splits a value from its unit.
    const QString files = NoBreakMarkup(words.convertingFile + QStringLiteral(" <b>") + n
        + QStringLiteral("</b> / <b>") + m + QStringLiteral("</b>"));
    const QString frames = NoBreakMarkup(words.frame + u' ' + QString::number(facts.FrameCount)
        + QStringLiteral(" / ~") + QString::number(facts.TotalFrames));
    const QString size = NoBreakMarkup(SizeMarkup(facts.Size, facts.SizeInBytes));
    const QString speed = facts.Speed ? SpeedMarkup(*facts.Speed) : QString();
    const QString rate = facts.FrameRate.toHtmlEscaped() + u' ' + words.framesPerSecond;
    if (!facts.TwoPass) {
        return files + Separator
            + NoBreakMarkup(
                words.speed + u' ' + speed + QStringLiteral(" ( ") + rate + QStringLiteral(" )"))
            + Separator + frames + Separator + size;
    }
    const QString colours = facts.PassNo == 1
        ? QStringLiteral("bgcolor=\"#D63D16\" color=\"#FAD3C9\"")
        : QStringLiteral("bgcolor=\"#2462C8\" color=\"#D5EBFD\"");
    const QString badge = QStringLiteral("  ")
        + NoBreakMarkup(QStringLiteral("<font ") + colours + QStringLiteral("><b>  ") + words.pass
            + u' ' + QString::number(facts.PassNo) + QStringLiteral("  </b></font> "));
    return files + badge + Separator
        + NoBreakMarkup(words.speed + u' ' + speed + QStringLiteral(" (") + rate + u')') + Separator
        + frames + Separator + size;
}

QString StatusLinePlain(const StatusLineFacts &facts, const StatusLineWords &words)
{
    QStringList plain;
    QString head = words.convertingFile + u' ' + QString::number(facts.FileNo)
        + QStringLiteral(" / ") + QString::number(facts.FileCount);
    if (facts.TwoPass)
        head += QStringLiteral(", ") + words.pass + u' ' + QString::number(facts.PassNo);
    plain << head;
    if (facts.Speed && !facts.Speed->isEmpty()) {
        QString speed = words.speed + u' ' + *facts.Speed;
        if (!facts.AudioOnly && !facts.FrameRate.isEmpty())
            speed += QStringLiteral(" (") + facts.FrameRate + u' ' + words.framesPerSecond + u')';
        plain << speed;
    }
    if (!facts.AudioOnly)
        plain << words.frame + u' ' + QString::number(facts.FrameCount) + QStringLiteral(" / ~")
                + QString::number(facts.TotalFrames);
    if (!facts.Size.isEmpty())
        plain << facts.Size;
    if (!facts.AudioOnly && facts.Percentage > 0)
        plain << words.progress + u' ' + QString::number(facts.Percentage) + u'%';
    return plain.join(QStringLiteral(" | "));
}
