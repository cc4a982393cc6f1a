#pragma once

#include "app/AppParams.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class IniFile;

// The sections MAIN and PROGRESS of quillon.ini as plain records, read and
// written without any window: the windows copy these values to and from
// their controls. The hand-added read-only keys of MAIN (EscExit,
// MediaInfoDll, ToolsDir, ffmpeg, WebSite) are not part of these records:
// InitAppParams applies them (ToolKeys.h), and since the writer touches only
// its own keys they survive every save.

// The file list's columns, indexed in the list's own order (colNo first,
// colStatus last). Only what the settings file needs; the list's column
// enumeration can take this index as it is.
namespace SettingsColumns {
inline constexpr int Count = 30;
inline constexpr int colActive = 1;
inline constexpr int colFileName = 3;
inline constexpr int colStatus = 28;
inline constexpr int colExpectedSize = 29;

// "colNo", "colActive", ..., "colStatus": the key prefix of each column.
QString KeyName(int column);
// colActive and colFileName are always shown and have no _Visible key.
bool AlwaysShown(int column);
// The columns in the order the file lists their keys (colStatus comes right
// after colDuration there, colVideoScanType before colVideoBpp).
const std::array<int, Count> &FileOrder();
} // namespace SettingsColumns

struct ColumnState
{
    int Width = 0;
    int Position = 0; // display order, 0 for the leftmost; hidden columns count
    bool Visible = true;

    bool operator==(const ColumnState &) const = default;
};

// The output options below the list. The fields mirror the output options
// of EncodingSettings (same names); encoding/SettingsFileTransfer.h copies
// them across.
struct OutputOptions
{
    bool rbOutDir = false; // key OutIn holds the opposite
    QString edOutDir; // key OutDir
    int cbOutputExists = 0;
    int cbAfterConversion = 0;
    bool chKeepDates = false; // key KeepFileDates
    // Key SimultaneousConversions: files converted at once, 0 for Auto.
    int cbSimultaneousConversions = 0;
    // Key KeepSubfolders: with rbOutDir, the outputs keep the sub-folders of
    // an added folder. A program that does not know it writes them flat.
    bool chOutDirKeepTree = false;

    bool operator==(const OutputOptions &) const = default;
};

// The largest count of SimultaneousConversions; a value read outside 0 to
// this, or not a number, is Auto (0).
inline constexpr int MaxSimultaneousConversions = 16;

// Key Theme of MAIN: the look of every window. System leaves style and
// palette to the desktop; Light and Dark choose them. The enumerators are
// the entries of the options window's list, in order.
enum class AppTheme { System, Light, Dark };
// "System", "Light", "Dark"; any other text (letter case aside) is System.
AppTheme ThemeFromText(const QString &text);
QString ThemeText(AppTheme theme);

// Section MAIN, fields named after their keys.
struct MainSettings
{
    static constexpr int MinWidth = 650;
    static constexpr int MinHeight = 400;
    static constexpr int MinRowHeight = 12;
    static constexpr int MaxRowHeight = 50;
    static constexpr int MinListFontSize = 6;
    static constexpr int MaxListFontSize = 20;
    static constexpr int MinColumnWidth = 8;
    static constexpr int MaxColumnWidth = 5000;

    QString LanguageIni;

    // The normal-state geometry; a maximized window keeps the one it had
    // before it was maximized.
    bool Maximized = false;
    int Left = 0;
    int Top = 0;
    int Width = 998;
    int Height = 712;

    OutputOptions output;

    bool GridLines = true;
    bool RowIndicator = true;
    bool GridFooter = true;
    int RowHeight = 20;
    bool AllowRowMoving = true;
    bool AllowColumnMoving = true;
    QString ListFontName;
    int ListFontSize = 8;

    TFileAnalysis FileAnalysis = faFull;
    bool pnConversionSettingsExpanded = true;
    // The file list's height above the splitter; 0: the list takes what the
    // settings below leave.
    int FileListHeight = 0;
    bool OpenFileAfterIconClick = true;
    int DefaultVideoCodec = 0; // entry of the AVI codec list: 0 Xvid, 2 H.264
    int OutputFormat = 0; // page of pcVideoFormat: 0 tsAvi, 1 tsMpg
    QString LastDir; // empty: the dialogs stay at the program folder
    bool DragAcceptDirectories = true;
    AppTheme Theme = AppTheme::System;

    std::array<ColumnState, SettingsColumns::Count> Columns{};

    bool operator==(const MainSettings &) const = default;
};

// Section PROGRESS: the progress window's settings. Left and Top are only
// written (the window is centred on the main window when shown).
struct ProgressSettings
{
    static constexpr int MinWidth = 600;
    static constexpr int MinHeight = 300;

    bool DontShowEncoderOutput = false; // chHideEncoderOutput
    int Left = 0;
    int Top = 0;
    int Width = 720;
    int Height = 480;
    bool CloseAfterConversion = true; // chCloseAfterConversion
    bool AutoScrollMemoToBottom = true; // TAppParams.ScrollProgressToBottom

    bool operator==(const ProgressSettings &) const = default;
};

// What the reader needs from the desktop; the core has no screen and no
// font database of its own.
struct SettingsEnvironment
{
    // The available area of each screen, the primary screen first. Empty:
    // the geometry is only held to the window's minimum size.
    QList<QRect> screens;
    QString desktopDir; // the first-run output folder
    // The installed font families and the desktop's default family: the
    // list font is "Segoe UI" where that is installed, else the default.
    QStringList installedFontFamilies;
    QString defaultFontFamily;
};

inline constexpr auto SettingsListFontName = "Segoe UI";

// The built-in values of a first run: the window at 998 x 712, the columns
// in their order at their built-in widths and initial visibility, the list
// font at size 8, faFull, Xvid, the AVI page, the output beside the input
// with the desktop as the chosen folder.
MainSettings DefaultMainSettings(const SettingsEnvironment &env);
// 22 pixels for a list font below 14 points, else 34.
int ListHeaderHeight(int listFontSize);

// Section MAIN read over current (the values the window holds at that point
// of start-up: the built-in defaults, the language chosen at start and the
// page of the last-session profile). A missing key keeps the current value
// except GridLines (true), FileAnalysis (faFull), DefaultVideoCodec (Xvid)
// and OutputFormat (AVI). Values are normalised: geometry against the
// screens, row height 12..50, font size 6..20, sizes and indexes held to
// sane ranges, positions applied in the file's column order, LastDir kept
// only when it names an existing folder. Call it only when the file exists.
MainSettings LoadSettingsFromIni(
    const IniFile &ini, const MainSettings &current, const SettingsEnvironment &env);
// Section PROGRESS read over current; Width and Height are held between the
// window's minimum and the screens' extent. Only when the file exists.
ProgressSettings LoadProgressSettings(
    const IniFile &ini, const ProgressSettings &current, const SettingsEnvironment &env);

// Reads iniName when it exists; otherwise current comes back unchanged.
MainSettings LoadSettingsFile(
    const QString &iniName, const MainSettings &current, const SettingsEnvironment &env);
ProgressSettings LoadProgressSettingsFile(
    const QString &iniName, const ProgressSettings &current, const SettingsEnvironment &env);

// Writes every key of MAIN in the file's order (the geometry only when the
// window is not maximized), then the column keys, then, when given, the
// keys of PROGRESS. Every other key, line and section stays as it was.
void SaveSettingsToIni(
    IniFile &ini, const MainSettings &main, const std::optional<ProgressSettings> &progress);
// The same into the file iniName, replaced atomically: on failure the file
// is left as it was (or not created) and errorText says why.
bool SaveSettingsFile(const QString &iniName, const MainSettings &main,
    const std::optional<ProgressSettings> &progress, QString *errorText = nullptr);

// The fields that TAppParams holds as well.
void ApplyMainSettings(TAppParams &params, const MainSettings &main);
void StoreMainSettings(MainSettings &main, const TAppParams &params);
