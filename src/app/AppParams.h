#pragma once

#include <QString>
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
    uint32_t ColorOK = 0;
    uint32_t ColorError = 0;
    bool DragAcceptDirectories = false;
    bool OpenFileAfterIconClick = false;
    TFileAnalysis FileAnalysis = faNone;
    TFontParams MonospaceFont;
    bool ScrollProgressToBottom = false;
    bool KeepFileDates = false;
    bool EscExit = false;
    // Read-only key WebSite of quillon.ini; empty means AppInfo::DefaultWebSite.
    QString WebSite;
};
