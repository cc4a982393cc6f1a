#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

enum TFileAnalysis { faNone = 0, faQuick = 1, faFull = 2 };

struct TFontParams
{
    QString Name;
    int Size = 0;
};

// The process-wide parameter record. Colours are stored as 0x00BBGGRR.
struct TAppParams
{
    QString LanguageIni;
    QString ffmpeg;
    QString MediaInfoDll;
    QString ToolsDir;
    QString LangDir;
    QString DataDir;
    QString IniName;
    QString FourccTagsFile;
    QString AudioBitratesTxt;
    QString ResolutionTxt;
    QString ProfilesDir;
    QString LastProfileFile;
    QString LogDir;
    // Where the file dialogs start at first and what Explore opens without
    // an output folder: the program's folder, or home when installed.
    QString DocumentsDir;
    uint32_t ColorOK = 0;
    uint32_t ColorError = 0;
    bool DragAcceptDirectories = false;
    bool OpenFileAfterIconClick = false;
    TFileAnalysis FileAnalysis = faNone;
    TFontParams MonospaceFont;
    bool ScrollProgressToBottom = false;
    bool KeepFileDates = false;
    bool EscExit = false;
    // Read-only key WebSite of quillon.ini; empty means BuiltInWebSite().
    QString WebSite;
};

// Where the tools live inside ToolsDir.
inline constexpr auto FFmpegRelativePath = "FFmpeg/ffmpeg";
inline constexpr auto MediaInfoRelativePath = "MediaInfo/libmediainfo.so.0";

inline constexpr uint32_t DefaultColorOK = 0x00E06C1F; // red 31, green 108, blue 224
inline constexpr uint32_t DefaultColorError = 0x001D35E2; // red 226, green 53, blue 29

// The start-up defaults for a program living in programDir: the folders of
// LocateFiles (portable or installed), the status colours and the behaviour
// flags. Installed there is no tools folder, so ffmpeg and MediaInfoDll
// start empty.
// MonospaceFont stays empty: it depends on the installed fonts (see
// ChooseMonospaceFont). The tools are not resolved here.
TAppParams DefaultAppParams(const QString &programDir);

// The process-wide instance.
TAppParams &AppParams();

// The web site the build was configured with (QLN_WEBSITE); often none.
QString BuiltInWebSite();
// The effective web site: the WebSite key when set, else the built-in one;
// empty when there is none.
QString WebSiteUrl(const TAppParams &params);

// The pages of the web site the Help menu opens.
enum class WebPage { QuickStart, HomePage, Donation };
// The page's path ("/products/quillon/quickstart.php", "/products/quillon/",
// "/donation/") on the effective web site, with one "/" between them; empty
// without a web site.
QString WebPageUrl(const TAppParams &params, WebPage page);

// The first of "Fira Mono" 9, "Roboto Mono" 9, "Consolas" 10, "Courier New" 9
// found among the installed families (compared without case). An empty Name
// when none is installed: the window layer then takes the system's fixed font.
TFontParams ChooseMonospaceFont(const QStringList &installedFamilies);
