#include "app/AppParams.h"

#include "app/AppInfo.h"
#include "app/FileLocations.h"
#include "app/ProgramDir.h"

TAppParams DefaultAppParams(const QString &programDir)
{
    const FileLocations where = LocateFiles(programDir);
    TAppParams p;
    p.ToolsDir = where.toolsDir;
    p.LangDir = where.langDir;
    p.DataDir = where.dataDir;
    if (!p.ToolsDir.isEmpty()) {
        p.ffmpeg = JoinPath(p.ToolsDir, QLatin1String(FFmpegRelativePath));
        p.MediaInfoDll = JoinPath(p.ToolsDir, QLatin1String(MediaInfoRelativePath));
    }
    p.IniName = where.settingsFile;
    p.FourccTagsFile = JoinPath(p.DataDir, QStringLiteral("fourcc_video_tags.txt"));
    // A user folder that cannot be worked out (no HOME) names no file.
    if (!where.reportsDir.isEmpty())
        p.AudioBitratesTxt = JoinPath(where.reportsDir, QStringLiteral("audio_bitrates.txt"));
    p.ResolutionTxt = JoinPath(p.DataDir, QStringLiteral("resolutions.txt"));
    p.ProfilesDir = where.profilesDir;
    if (!p.ProfilesDir.isEmpty())
        p.LastProfileFile = JoinPath(p.ProfilesDir, QStringLiteral("__Last.ini"));
    p.DocumentsDir = where.defaultDocumentsDir;
    p.ColorOK = DefaultColorOK;
    p.ColorError = DefaultColorError;
    p.DragAcceptDirectories = true;
    p.OpenFileAfterIconClick = true;
    p.FileAnalysis = faFull;
    p.ScrollProgressToBottom = true;
    return p;
}

TAppParams &AppParams()
{
    static TAppParams params;
    return params;
}

QString BuiltInWebSite()
{
    return QStringLiteral(QLN_WEBSITE);
}

QString WebSiteUrl(const TAppParams &params)
{
    const QString site = params.WebSite.trimmed();
    return site.isEmpty() ? BuiltInWebSite() : site;
}

QString WebPageUrl(const TAppParams &params, WebPage page)
{
    QString site = WebSiteUrl(params);
    if (site.isEmpty())
        return {};
    while (site.endsWith(u'/'))
        site.chop(1);
    switch (page) {
    case WebPage::QuickStart:
        return site + QStringLiteral("/products/quillon/quickstart.php");
    case WebPage::HomePage:
        return site + QStringLiteral("/products/quillon/");
    case WebPage::Donation:
        break;
    }
    return site + QStringLiteral("/donation/");
}

TFontParams ChooseMonospaceFont(const QStringList &installedFamilies)
{
    static const TFontParams candidates[] = {
        {QStringLiteral("Fira Mono"), 9},
        {QStringLiteral("Roboto Mono"), 9},
        {QStringLiteral("Consolas"), 10},
        {QStringLiteral("Courier New"), 9},
    };
    for (const TFontParams &font : candidates)
        if (installedFamilies.contains(font.Name, Qt::CaseInsensitive))
            return font;
    return {};
}
