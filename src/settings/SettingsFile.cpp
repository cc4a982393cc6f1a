#include "settings/SettingsFile.h"

#include "app/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace {

const QString MainSection = QStringLiteral("MAIN");
const QString ProgressSection = QStringLiteral("PROGRESS");

struct ColumnDefault
{
    const char *name;
    int width;
    bool visible;
};

// In the list's order; the widths are the list's built-in ones.
constexpr std::array<ColumnDefault, SettingsColumns::Count> Columns{{
    {"colNo", 40, true},
    {"colActive", 24, true},
    {"colIcon", 24, true},
    {"colFileName", 220, true},
    {"colDirectory", 220, true},
    {"colSize", 110, true},
    {"colDuration", 70, true},
    {"colVideo", 260, true},
    {"colVideoCodec", 90, false},
    {"colVideoCodecID", 100, false},
    {"colVideoProfile", 100, false},
    {"colVideoBitrate", 110, false},
    {"colVideoWidth", 60, false},
    {"colVideoHeight", 60, false},
    {"colVideoResolution", 80, false},
    {"colVideoDisplayAspect", 90, false},
    {"colVideoFPS", 80, false},
    {"colVideoBpp", 70, false},
    {"colVideoScanType", 80, false},
    {"colVideoStreamSize", 120, false},
    {"colAudio", 260, true},
    {"colAudioCodec", 90, false},
    {"colAudioCodecID", 100, false},
    {"colAudioProfile", 100, false},
    {"colAudioBitrate", 110, false},
    {"colAudioChannels", 70, false},
    {"colAudioSampling", 100, false},
    {"colAudioStreamSize", 120, false},
    {"colStatus", 120, true},
    {"colExpectedSize", 100, true},
}};

constexpr std::array<int, SettingsColumns::Count> ColumnFileOrder{0, 1, 2, 3, 4, 5, 6, 28, 7, 8, 9,
    10, 11, 12, 13, 14, 15, 16, 18, 17, 19, 20, 21, 22, 23, 24, 25, 26, 27, 29};

constexpr int AviCodecXvid = 0;
constexpr int AviCodecH264 = 2;
constexpr int PageAvi = 0;
constexpr int PageMpg = 1;
constexpr int OutputOptionItems = 3; // both output lists hold three entries

// Where a window counts as reachable: a strip this high and this wide at
// its top edge (where the title bar is grabbed) lies on one screen.
constexpr qint64 GripHeight = 30;
constexpr qint64 GripWidth = 100;

QString columnKey(int column, const char *family)
{
    return SettingsColumns::KeyName(column) + u'_' + QLatin1String(family);
}

bool reachable(qint64 left, qint64 top, qint64 width, const QList<QRect> &screens)
{
    const qint64 grip = std::min(width, GripWidth);
    for (const QRect &s : screens) {
        const qint64 x1 = std::max<qint64>(left, s.left());
        const qint64 x2 = std::min<qint64>(left + width, qint64(s.left()) + s.width());
        const bool topOnScreen = top >= s.top() && top + GripHeight <= qint64(s.top()) + s.height();
        if (topOnScreen && x2 - x1 >= grip)
            return true;
    }
    return false;
}

QRect screensExtent(const QList<QRect> &screens)
{
    QRect extent;
    for (const QRect &s : screens)
        extent = extent.united(s);
    return extent;
}

void holdSize(int &width, int &height, int minWidth, int minHeight, const QList<QRect> &screens)
{
    width = std::max(width, minWidth);
    height = std::max(height, minHeight);
    if (screens.isEmpty())
        return;
    const QRect extent = screensExtent(screens);
    width = std::min(width, std::max(extent.width(), minWidth));
    height = std::min(height, std::max(extent.height(), minHeight));
}

// A window stays where it was when its top edge is on a screen. Otherwise
// the edges are checked against the primary screen: a left edge more than
// a screen width away from it, or a top edge above it or below it, goes
// back to that screen's edge. A window still out of reach (say -1500 on a
// single screen, which those rules keep) goes to the primary screen's
// corner: a window nobody can see or grab is no use.
void placeWindow(MainSettings &m, const QList<QRect> &screens)
{
    holdSize(m.Width, m.Height, MainSettings::MinWidth, MainSettings::MinHeight, screens);
    if (screens.isEmpty() || reachable(m.Left, m.Top, m.Width, screens))
        return;
    const QRect &primary = screens.first();
    const qint64 dx = qint64(m.Left) - primary.left();
    if (dx > primary.width() || dx < -qint64(primary.width()))
        m.Left = primary.left();
    const qint64 dy = qint64(m.Top) - primary.top();
    if (dy < 0 || dy > primary.height())
        m.Top = primary.top();
    if (!reachable(m.Left, m.Top, m.Width, screens)) {
        m.Left = primary.left();
        m.Top = primary.top();
    }
}

// The display order of the columns: current positions first (ties and
// gaps resolved by column order), then the stored ones. Positions that
// name every place once are taken as they are. Otherwise each stored
// position moves its column there in the file's column order, so a column
// moved later can shift one moved earlier; a missing key leaves its column
// where it is. Moving in that order does not rebuild an arbitrary order
// (the layout a user left would not come back), hence the first case.
void placeColumns(
    MainSettings &m, const std::array<std::optional<int>, SettingsColumns::Count> &stored)
{
    constexpr int n = SettingsColumns::Count;
    std::vector<int> order(n);
    for (int c = 0; c < n; ++c)
        order[size_t(c)] = c;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return m.Columns[size_t(a)].Position < m.Columns[size_t(b)].Position;
    });

    std::array<bool, n> used{};
    bool permutation = true;
    for (const std::optional<int> &p : stored) {
        if (!p || used[size_t(*p)]) {
            permutation = false;
            break;
        }
        used[size_t(*p)] = true;
    }
    if (permutation) {
        for (int c = 0; c < n; ++c)
            m.Columns[size_t(c)].Position = *stored[size_t(c)];
        return;
    }
    for (int c : ColumnFileOrder) {
        if (!stored[size_t(c)])
            continue;
        order.erase(std::find(order.begin(), order.end(), c));
        order.insert(order.begin() + *stored[size_t(c)], c);
    }
    for (int i = 0; i < n; ++i)
        m.Columns[size_t(order[size_t(i)])].Position = i;
}

int outputOptionIndex(int index)
{
    // An index beyond the list would otherwise reach the conversion as no
    // rule at all; clamping it could make "Power off the computer" out of garbage.
    return index >= 0 && index < OutputOptionItems ? index : 0;
}

int simultaneousConversions(const IniFile &ini, int missing)
{
    const QString key = QStringLiteral("SimultaneousConversions");
    if (!ini.hasKey(MainSection, key))
        return missing;
    // Anything else than a count the list offers runs as Auto, which suits
    // the machine, rather than as a count someone mistyped.
    bool ok = false;
    const int count = ini.readString(MainSection, key).trimmed().toInt(&ok);
    return ok && count >= 0 && count <= MaxSimultaneousConversions ? count : 0;
}

TFileAnalysis fileAnalysisFromText(const QString &text)
{
    const QString upper = text.toUpper();
    if (upper == u"NONE")
        return faNone;
    if (upper == u"QUICK")
        return faQuick;
    return faFull;
}

QString fileAnalysisText(TFileAnalysis mode)
{
    switch (mode) {
    case faNone:
        return QStringLiteral("None");
    case faQuick:
        return QStringLiteral("Quick");
    case faFull:
        break;
    }
    return QStringLiteral("Full");
}

} // namespace

AppTheme ThemeFromText(const QString &text)
{
    for (AppTheme theme : {AppTheme::Light, AppTheme::Dark})
        if (text.trimmed().compare(ThemeText(theme), Qt::CaseInsensitive) == 0)
            return theme;
    return AppTheme::System;
}

QString ThemeText(AppTheme theme)
{
    switch (theme) {
    case AppTheme::Light:
        return QStringLiteral("Light");
    case AppTheme::Dark:
        return QStringLiteral("Dark");
    case AppTheme::System:
        break;
    }
    return QStringLiteral("System");
}

namespace SettingsColumns {

QString KeyName(int column)
{
    return column >= 0 && column < Count ? QLatin1String(Columns[size_t(column)].name) : QString();
}

bool AlwaysShown(int column)
{
    return column == colActive || column == colFileName;
}

const std::array<int, Count> &FileOrder()
{
    return ColumnFileOrder;
}

} // namespace SettingsColumns

MainSettings DefaultMainSettings(const SettingsEnvironment &env)
{
    MainSettings m;
    m.output.edOutDir = env.desktopDir;
    const QString segoe = QLatin1String(SettingsListFontName);
    const bool segoeInstalled = env.installedFontFamilies.contains(segoe, Qt::CaseInsensitive);
    m.ListFontName
        = segoeInstalled || env.defaultFontFamily.isEmpty() ? segoe : env.defaultFontFamily;
    // A new list shows the outcome and the expected size beside the
    // duration: at the default size the file, its size, duration and status
    // are in view.
    constexpr int statusColumn = SettingsColumns::colStatus;
    constexpr int expectedColumn = SettingsColumns::colExpectedSize;
    constexpr int besideDuration = 7;
    for (int c = 0; c < SettingsColumns::Count; ++c) {
        const int position = c == statusColumn ? besideDuration
            : c == expectedColumn              ? besideDuration + 1
            : c >= besideDuration              ? c + 2
                                               : c;
        m.Columns[size_t(c)] = {Columns[size_t(c)].width, position, Columns[size_t(c)].visible};
    }
    return m;
}

int ListHeaderHeight(int listFontSize)
{
    return listFontSize < 14 ? 22 : 34;
}

namespace {

void readColumns(const IniFile &ini, MainSettings &m)
{
    for (int c : ColumnFileOrder) {
        ColumnState &col = m.Columns[size_t(c)];
        col.Width = std::clamp(ini.readInteger(MainSection, columnKey(c, "Width"), col.Width),
            MainSettings::MinColumnWidth, MainSettings::MaxColumnWidth);
    }
    std::array<std::optional<int>, SettingsColumns::Count> positions;
    for (int c : ColumnFileOrder) {
        int value = 0;
        const QString key = columnKey(c, "Position");
        if (ini.hasKey(MainSection, key)
            && IniFile::parseInteger(ini.readString(MainSection, key), &value))
            positions[size_t(c)] = std::clamp(value, 0, SettingsColumns::Count - 1);
    }
    placeColumns(m, positions);
    for (int c : ColumnFileOrder) {
        ColumnState &col = m.Columns[size_t(c)];
        // A file written before the column existed keeps the list its user
        // knows; a new file shows it.
        const bool known = c != SettingsColumns::colExpectedSize || !ini.hasSection(MainSection);
        col.Visible = SettingsColumns::AlwaysShown(c)
            || ini.readBool(MainSection, columnKey(c, "Visible"), known && col.Visible);
    }
}

} // namespace

MainSettings LoadSettingsFromIni(
    const IniFile &ini, const MainSettings &current, const SettingsEnvironment &env)
{
    MainSettings m = current;
    const auto readInt
        = [&](const QString &key, int dflt) { return ini.readInteger(MainSection, key, dflt); };
    const auto readBool
        = [&](const QString &key, bool dflt) { return ini.readBool(MainSection, key, dflt); };
    const auto readText = [&](const QString &key, const QString &dflt) {
        return ini.readString(MainSection, key, dflt);
    };

    m.LanguageIni = readText(QStringLiteral("LanguageIni"), m.LanguageIni);
    m.OutputFormat
        = readText(QStringLiteral("OutputFormat"), QStringLiteral("AVI")).toUpper() == u"MPG"
        ? PageMpg
        : PageAvi;

    m.Left = readInt(QStringLiteral("Left"), m.Left);
    m.Top = readInt(QStringLiteral("Top"), m.Top);
    m.Width = readInt(QStringLiteral("Width"), m.Width);
    m.Height = readInt(QStringLiteral("Height"), m.Height);
    m.Maximized = readBool(QStringLiteral("Maximized"), m.Maximized);
    placeWindow(m, env.screens);

    OutputOptions &out = m.output;
    out.cbOutputExists
        = outputOptionIndex(readInt(QStringLiteral("cbOutputExists"), out.cbOutputExists));
    out.cbAfterConversion
        = outputOptionIndex(readInt(QStringLiteral("cbAfterConversion"), out.cbAfterConversion));
    out.rbOutDir = !readBool(QStringLiteral("OutIn"), !out.rbOutDir);
    out.edOutDir = readText(QStringLiteral("OutDir"), out.edOutDir);
    out.chKeepDates = readBool(QStringLiteral("KeepFileDates"), out.chKeepDates);
    out.cbSimultaneousConversions = simultaneousConversions(ini, out.cbSimultaneousConversions);
    out.chOutDirKeepTree = readBool(QStringLiteral("KeepSubfolders"), out.chOutDirKeepTree);
    m.FileAnalysis
        = fileAnalysisFromText(readText(QStringLiteral("FileAnalysis"), QStringLiteral("FULL")));

    readColumns(ini, m);

    m.RowHeight = std::clamp(readInt(QStringLiteral("RowHeight"), m.RowHeight),
        MainSettings::MinRowHeight, MainSettings::MaxRowHeight);
    // An empty name would give the list no font of its own choosing.
    const QString fontName = readText(QStringLiteral("ListFontName"), m.ListFontName);
    if (!fontName.isEmpty())
        m.ListFontName = fontName;
    m.ListFontSize = std::clamp(readInt(QStringLiteral("ListFontSize"), m.ListFontSize),
        MainSettings::MinListFontSize, MainSettings::MaxListFontSize);

    m.GridLines = readBool(QStringLiteral("GridLines"), true);
    m.RowIndicator = readBool(QStringLiteral("RowIndicator"), m.RowIndicator);
    m.GridFooter = readBool(QStringLiteral("GridFooter"), m.GridFooter);
    m.AllowRowMoving = readBool(QStringLiteral("AllowRowMoving"), m.AllowRowMoving);
    m.AllowColumnMoving = readBool(QStringLiteral("AllowColumnMoving"), m.AllowColumnMoving);

    const QString lastDir = readText(QStringLiteral("LastDir"), m.LastDir);
    if (!lastDir.isEmpty() && QFileInfo(lastDir).isDir())
        m.LastDir = lastDir;

    m.pnConversionSettingsExpanded
        = readBool(QStringLiteral("pnConversionSettingsExpanded"), m.pnConversionSettingsExpanded);
    m.FileListHeight = std::max(readInt(QStringLiteral("FileListHeight"), 0), 0);
    m.OpenFileAfterIconClick
        = readBool(QStringLiteral("OpenFileAfterIconClick"), m.OpenFileAfterIconClick);
    m.DefaultVideoCodec
        = readText(QStringLiteral("DefaultVideoCodec"), QStringLiteral("Xvid")).trimmed().toUpper()
            == u"H.264"
        ? AviCodecH264
        : AviCodecXvid;
    m.DragAcceptDirectories
        = readBool(QStringLiteral("DragAcceptDirectories"), m.DragAcceptDirectories);
    m.Theme = ThemeFromText(readText(QStringLiteral("Theme"), ThemeText(m.Theme)));
    return m;
}

ProgressSettings LoadProgressSettings(
    const IniFile &ini, const ProgressSettings &current, const SettingsEnvironment &env)
{
    ProgressSettings p = current;
    p.DontShowEncoderOutput = ini.readBool(
        ProgressSection, QStringLiteral("DontShowEncoderOutput"), p.DontShowEncoderOutput);
    p.Width = ini.readInteger(ProgressSection, QStringLiteral("Width"), p.Width);
    p.Height = ini.readInteger(ProgressSection, QStringLiteral("Height"), p.Height);
    holdSize(
        p.Width, p.Height, ProgressSettings::MinWidth, ProgressSettings::MinHeight, env.screens);
    p.CloseAfterConversion = ini.readBool(
        ProgressSection, QStringLiteral("CloseAfterConversion"), p.CloseAfterConversion);
    p.AutoScrollMemoToBottom = ini.readBool(
        ProgressSection, QStringLiteral("AutoScrollMemoToBottom"), p.AutoScrollMemoToBottom);
    return p;
}

MainSettings LoadSettingsFile(
    const QString &iniName, const MainSettings &current, const SettingsEnvironment &env)
{
    IniFile ini(iniName);
    if (!QFileInfo(iniName).isFile() || !ini.load())
        return current;
    return LoadSettingsFromIni(ini, current, env);
}

ProgressSettings LoadProgressSettingsFile(
    const QString &iniName, const ProgressSettings &current, const SettingsEnvironment &env)
{
    IniFile ini(iniName);
    if (!QFileInfo(iniName).isFile() || !ini.load())
        return current;
    return LoadProgressSettings(ini, current, env);
}

void SaveSettingsToIni(
    IniFile &ini, const MainSettings &m, const std::optional<ProgressSettings> &progress)
{
    const auto writeInt
        = [&](const QString &key, int value) { ini.writeInteger(MainSection, key, value); };
    const auto writeBool
        = [&](const QString &key, bool value) { ini.writeBool(MainSection, key, value); };
    const auto writeText = [&](const QString &key, const QString &value) {
        ini.writeString(MainSection, key, value);
    };

    writeText(QStringLiteral("LanguageIni"), m.LanguageIni);
    writeBool(QStringLiteral("Maximized"), m.Maximized);
    // A maximized window leaves the normal-state geometry of an earlier run.
    if (!m.Maximized) {
        writeInt(QStringLiteral("Left"), m.Left);
        writeInt(QStringLiteral("Top"), m.Top);
        writeInt(QStringLiteral("Width"), m.Width);
        writeInt(QStringLiteral("Height"), m.Height);
    }
    writeInt(QStringLiteral("cbOutputExists"), m.output.cbOutputExists);
    writeInt(QStringLiteral("cbAfterConversion"), m.output.cbAfterConversion);
    writeBool(QStringLiteral("OutIn"), !m.output.rbOutDir);
    writeText(QStringLiteral("OutDir"), m.output.edOutDir);
    writeBool(QStringLiteral("KeepFileDates"), m.output.chKeepDates);
    writeBool(QStringLiteral("GridLines"), m.GridLines);
    writeBool(QStringLiteral("RowIndicator"), m.RowIndicator);
    writeBool(QStringLiteral("GridFooter"), m.GridFooter);
    writeInt(QStringLiteral("RowHeight"), m.RowHeight);
    writeBool(QStringLiteral("AllowRowMoving"), m.AllowRowMoving);
    writeBool(QStringLiteral("AllowColumnMoving"), m.AllowColumnMoving);
    writeText(QStringLiteral("ListFontName"), m.ListFontName);
    writeInt(QStringLiteral("ListFontSize"), m.ListFontSize);
    writeText(QStringLiteral("FileAnalysis"), fileAnalysisText(m.FileAnalysis));
    writeBool(QStringLiteral("pnConversionSettingsExpanded"), m.pnConversionSettingsExpanded);
    writeBool(QStringLiteral("OpenFileAfterIconClick"), m.OpenFileAfterIconClick);
    writeText(QStringLiteral("DefaultVideoCodec"),
        m.DefaultVideoCodec == AviCodecH264 ? QStringLiteral("H.264") : QStringLiteral("Xvid"));
    writeText(QStringLiteral("OutputFormat"),
        m.OutputFormat == PageMpg ? QStringLiteral("MPG") : QStringLiteral("AVI"));
    writeText(QStringLiteral("LastDir"), m.LastDir);
    writeBool(QStringLiteral("DragAcceptDirectories"), m.DragAcceptDirectories);
    writeText(QStringLiteral("Theme"), ThemeText(m.Theme));

    for (int c : ColumnFileOrder)
        writeInt(columnKey(c, "Width"), m.Columns[size_t(c)].Width);
    for (int c : ColumnFileOrder)
        writeInt(columnKey(c, "Position"), m.Columns[size_t(c)].Position);
    for (int c : ColumnFileOrder)
        if (!SettingsColumns::AlwaysShown(c))
            writeBool(columnKey(c, "Visible"), m.Columns[size_t(c)].Visible);
    // Keys this program adds come after the ones other programs know.
    writeInt(QStringLiteral("FileListHeight"), m.FileListHeight);
    writeInt(QStringLiteral("SimultaneousConversions"), m.output.cbSimultaneousConversions);
    writeBool(QStringLiteral("KeepSubfolders"), m.output.chOutDirKeepTree);

    if (!progress)
        return;
    const ProgressSettings &p = *progress;
    ini.writeBool(
        ProgressSection, QStringLiteral("DontShowEncoderOutput"), p.DontShowEncoderOutput);
    ini.writeInteger(ProgressSection, QStringLiteral("Left"), p.Left);
    ini.writeInteger(ProgressSection, QStringLiteral("Top"), p.Top);
    ini.writeInteger(ProgressSection, QStringLiteral("Width"), p.Width);
    ini.writeInteger(ProgressSection, QStringLiteral("Height"), p.Height);
    ini.writeBool(ProgressSection, QStringLiteral("CloseAfterConversion"), p.CloseAfterConversion);
    ini.writeBool(
        ProgressSection, QStringLiteral("AutoScrollMemoToBottom"), p.AutoScrollMemoToBottom);
}

bool SaveSettingsFile(const QString &iniName, const MainSettings &main,
    const std::optional<ProgressSettings> &progress, QString *errorText)
{
    IniFile ini(iniName);
    // Saving over a file that could not be read would drop every key the
    // user added by hand.
    if (!ini.load() && QFileInfo::exists(iniName)) {
        if (errorText)
            *errorText = QStringLiteral("Cannot read %1").arg(iniName);
        return false;
    }
    SaveSettingsToIni(ini, main, progress);
    // Installed, the file lives in a folder of its own that a first save
    // creates ($XDG_CONFIG_HOME/quillon).
    const QString folder = QFileInfo(iniName).absolutePath();
    if (!iniName.isEmpty() && !QDir().mkpath(folder)) {
        if (errorText)
            *errorText = QStringLiteral("Cannot create the folder %1").arg(folder);
        return false;
    }
    return ini.save(errorText);
}

void ApplyMainSettings(TAppParams &params, const MainSettings &main)
{
    params.LanguageIni = main.LanguageIni;
    params.FileAnalysis = main.FileAnalysis;
    params.OpenFileAfterIconClick = main.OpenFileAfterIconClick;
    params.DragAcceptDirectories = main.DragAcceptDirectories;
}

void StoreMainSettings(MainSettings &main, const TAppParams &params)
{
    main.LanguageIni = params.LanguageIni;
    main.FileAnalysis = params.FileAnalysis;
    main.OpenFileAfterIconClick = params.OpenFileAfterIconClick;
    main.DragAcceptDirectories = params.DragAcceptDirectories;
}
