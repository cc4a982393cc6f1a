#include "filelist/SupportedExtensions.h"

#include "i18n/AppStrings.h"

const QStringList &SupportedExtensions()
{
    static const QStringList extensions = QStringLiteral(
        "WEBM AVI DIVX XVID MPG MPEG MPE MP4V WMV ASF MP4 M4V MOV QT 3GP 3GPP 3G2 3GP2 3GA MKV "
        "MKA FLV SWF F4V F4P F4A F4B VOB DAT RM RMVB OGM OGV AMV DVR-MS DAV M2TS MTS WTV TS M2T "
        "VIDEO HEVC WAV MP3 AC3 EAC3 AAC MPC MPA MP1 MP2 M4B M4P WMA FLAC SHN APE OGG OGA M4A WV "
        "AMR AIFF DTS GSM QCP RA VQF THD TRUEHD TRUE-HD DTSHD DTS-HD AVS M4R TTA MXF")
                                              .split(u' ');
    return extensions;
}

bool IsSupportedFile(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot <= slash)
        return false;
    return SupportedExtensions().contains(path.mid(dot + 1).toUpper());
}

QString OpenDialogFilter(const TAppStrings &strings)
{
    QStringList patterns;
    for (const QString &ext : SupportedExtensions())
        patterns.append(QStringLiteral("*.") + ext.toLower());
    return strings.Main.dlgOpen_Filter1 + QStringLiteral(" (*.mkv);;")
        + strings.Main.dlgOpen_Filter2 + QStringLiteral(" (") + patterns.join(u' ') + u')';
}
