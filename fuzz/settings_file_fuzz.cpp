// quillon.ini as the program reads it into its settings: every value lands
// in its range, the window on a screen, the columns in one order each, and
// what is saved reads back the same.

#include "FuzzSupport.h"

#include "app/IniFile.h"
#include "settings/SettingsFile.h"

#include <algorithm>

namespace {

void checkRanges(const MainSettings &m, const ProgressSettings &p, const SettingsEnvironment &env)
{
    QLN_FUZZ_CHECK(m.Width >= MainSettings::MinWidth && m.Height >= MainSettings::MinHeight);
    QLN_FUZZ_CHECK(m.RowHeight >= MainSettings::MinRowHeight);
    QLN_FUZZ_CHECK(m.RowHeight <= MainSettings::MaxRowHeight);
    QLN_FUZZ_CHECK(m.ListFontSize >= MainSettings::MinListFontSize);
    QLN_FUZZ_CHECK(m.ListFontSize <= MainSettings::MaxListFontSize);
    QLN_FUZZ_CHECK(!m.ListFontName.isEmpty());
    QLN_FUZZ_CHECK(m.output.cbOutputExists >= 0 && m.output.cbOutputExists < 3);
    QLN_FUZZ_CHECK(m.output.cbAfterConversion >= 0 && m.output.cbAfterConversion < 3);
    QLN_FUZZ_CHECK(m.FileListHeight >= 0);
    QLN_FUZZ_CHECK(m.OutputFormat == 0 || m.OutputFormat == 1);
    QLN_FUZZ_CHECK(m.DefaultVideoCodec == 0 || m.DefaultVideoCodec == 2);
    std::array<bool, SettingsColumns::Count> placed{};
    for (int c = 0; c < SettingsColumns::Count; ++c) {
        const ColumnState &column = m.Columns[size_t(c)];
        QLN_FUZZ_CHECK(column.Width >= MainSettings::MinColumnWidth);
        QLN_FUZZ_CHECK(column.Width <= MainSettings::MaxColumnWidth);
        QLN_FUZZ_CHECK(column.Position >= 0 && column.Position < SettingsColumns::Count);
        QLN_FUZZ_CHECK(!placed[size_t(column.Position)]);
        placed[size_t(column.Position)] = true;
        if (SettingsColumns::AlwaysShown(c))
            QLN_FUZZ_CHECK(column.Visible);
    }
    QLN_FUZZ_CHECK(p.Width >= ProgressSettings::MinWidth);
    QLN_FUZZ_CHECK(p.Height >= ProgressSettings::MinHeight);
    if (env.screens.isEmpty())
        return;
    // The top edge of the window is on a screen, where it can be grabbed.
    const bool onScreen = std::any_of(env.screens.begin(), env.screens.end(), [&](const QRect &s) {
        return m.Top >= s.top() && m.Top <= s.bottom() && m.Left <= s.right()
            && qint64(m.Left) + m.Width > s.left();
    });
    QLN_FUZZ_CHECK(onScreen);
}

void checkFile(const QByteArray &bytes, const SettingsEnvironment &env)
{
    IniFile ini;
    ini.loadFromBytes(bytes);
    const MainSettings defaults = DefaultMainSettings(env);
    const MainSettings m = LoadSettingsFromIni(ini, defaults, env);
    const ProgressSettings p = LoadProgressSettings(ini, ProgressSettings(), env);
    checkRanges(m, p, env);

    SaveSettingsToIni(ini, m, p);
    IniFile saved;
    saved.loadFromBytes(ini.toBytes());
    // The writer turns a line break inside a text into a blank.
    MainSettings expected = m;
    for (QString *text : {&expected.LanguageIni, &expected.output.edOutDir, &expected.ListFontName,
             &expected.LastDir})
        text->replace(u'\r', u' ').replace(u'\n', u' ');
    QLN_FUZZ_CHECK(LoadSettingsFromIni(saved, defaults, env) == expected);
    QLN_FUZZ_CHECK(LoadProgressSettings(saved, p, env) == p);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesOf(data, size);
    SettingsEnvironment env;
    env.desktopDir = QStringLiteral("/home/user/Desktop");
    env.defaultFontFamily = QStringLiteral("DejaVu Sans");
    checkFile(bytes, env); // no screen known
    env.screens = {QRect(0, 0, 1920, 1080), QRect(1920, -200, 1280, 1024)};
    checkFile(bytes, env);
    return 0;
}
