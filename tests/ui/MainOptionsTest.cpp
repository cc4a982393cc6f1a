#include "MainWindowFixture.h"

#include "ui/common/Theme.h"
#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/info/FileInfoWindow.h"
#include "ui/options/OptionsWindow.h"
#include "ui/settings/ConversionSettingsPanel.h"
#include "ui/tools/ToolsInfoWindow.h"
#include "ui/update/CheckUpdateWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTableView>

using MainOptions = MainWindowFixture;

// Choosing a language in the options window changes every window at once,
// the open ones included, and the next start keeps it.
TEST_F(MainOptions, LanguageChoiceReachesEveryOpenWindowAndIsKept)
{
    installLanguages({"English.ini", "German.ini"});
    writeSettings();
    TFormMain &window = open();
    QWidget *const others[] = {window.optionsWindow(), window.progressWindow(),
        window.errorsWindow(), window.fileInfoWindow(), window.toolsInfoWindow()};
    for (QWidget *other : others)
        other->show();
    EXPECT_EQ(act(MainCommand::actConvert)->text(), QStringLiteral("&Convert checked files"));

    auto *languages = window.optionsWindow()->findChild<QComboBox *>(QStringLiteral("cbLanguage"));
    ASSERT_TRUE(languages);
    const int german = languages->findText(QStringLiteral("Deutsch"));
    ASSERT_GE(german, 0);
    languages->setCurrentIndex(german);

    EXPECT_EQ(
        act(MainCommand::actConvert)->text(), QStringLiteral("&Abgehakte Dateien konvertieren"));
    EXPECT_EQ(window.optionsWindow()->windowTitle(), QStringLiteral("Optionen"));
    EXPECT_TRUE(window.progressWindow()->windowTitle().contains(QStringLiteral("Konvertierung")))
        << window.progressWindow()->windowTitle().toStdString();
    EXPECT_EQ(window.errorsWindow()->windowTitle(), QStringLiteral("Fehlerprotokoll"));
    EXPECT_EQ(
        window.fileInfoWindow()->windowTitle(), QStringLiteral("Eigenschaften der Videodatei"));
    EXPECT_EQ(window.toolsInfoWindow()->windowTitle(), QStringLiteral("Werkzeug-Informationen"));
    EXPECT_EQ(
        window.checkUpdateWindow()->windowTitle(), QStringLiteral("Nach Aktualisierungen suchen"));
    // The settings panel's lists follow: "Auto" entries and named choices.
    const auto *profile
        = window.conversionSettings()->findChild<QLabel *>(QStringLiteral("lblProfile"));
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->text(), QStringLiteral("&Profil:"));
    const auto *analysis
        = window.optionsWindow()->findChild<QComboBox *>(QStringLiteral("cbFileListFileAnalysis"));
    ASSERT_TRUE(analysis);
    EXPECT_EQ(analysis->itemText(0), QStringLiteral("Vollständig"));

    closeWindow();
    EXPECT_TRUE(read(QStringLiteral("quillon.ini")).contains("LanguageIni=German.ini"));
    TFormMain &again = open();
    EXPECT_EQ(again.action(MainCommand::actConvert)->text(),
        QStringLiteral("&Abgehakte Dateien konvertieren"));
}

// The options window's list controls act on the main window's list at once
// and are kept for the next start.
// The theme changes the whole program at once and the next start takes it
// from the settings file.
TEST_F(MainOptions, ThemeChangesThePaletteAtOnceAndIsKept)
{
    const auto platformLook = qScopeGuard([] { ApplyTheme(AppTheme::System); });
    writeSettings();
    TFormMain &window = open();
    act(MainCommand::actShowOptions)->trigger();
    auto *theme = window.optionsWindow()->findChild<QComboBox *>(QStringLiteral("cbTheme"));
    ASSERT_TRUE(theme);
    const auto windowLightness
        = [&] { return window.palette().color(QPalette::Window).lightness(); };

    // The windows take a new palette from posted events.
    theme->setCurrentIndex(2);
    QCoreApplication::processEvents();
    EXPECT_LT(QApplication::palette().color(QPalette::Window).lightness(), 128);
    EXPECT_LT(windowLightness(), 128);
    theme->setCurrentIndex(1);
    QCoreApplication::processEvents();
    EXPECT_GT(windowLightness(), 128);
    theme->setCurrentIndex(2);
    closeWindow();
    EXPECT_TRUE(read(QStringLiteral("quillon.ini")).contains("\nTheme=Dark"));

    // The start-up look comes from the file, not from the last run.
    ApplyTheme(AppTheme::Light);
    TFormMain &again = open();
    QCoreApplication::processEvents();
    EXPECT_LT(again.palette().color(QPalette::Window).lightness(), 128);
    closeWindow();
}

TEST_F(MainOptions, ListLookChangesAtOnceAndIsKept)
{
    writeSettings();
    TFormMain &window = open();
    act(MainCommand::actShowOptions)->trigger();
    QWidget *options = window.optionsWindow();
    ASSERT_TRUE(options->isVisible());
    auto *view = window.fileList()->findChild<QTableView *>();
    ASSERT_TRUE(view);

    options->findChild<QSpinBox *>(QStringLiteral("edFileListRowHeight"))->setValue(31);
    EXPECT_EQ(view->verticalHeader()->defaultSectionSize(), 31);
    options->findChild<QSpinBox *>(QStringLiteral("edFileListFontSize"))->setValue(13);
    EXPECT_EQ(view->font().pointSize(), 13);
    EXPECT_TRUE(view->verticalHeader()->isVisibleTo(view));
    options->findChild<QCheckBox *>(QStringLiteral("chFileListRowIndicator"))->setChecked(false);
    EXPECT_FALSE(view->verticalHeader()->isVisibleTo(view));
    options->findChild<QCheckBox *>(QStringLiteral("chFileListGridLines"))->setChecked(false);
    EXPECT_FALSE(view->showGrid());

    closeWindow();
    const QByteArray ini = read(QStringLiteral("quillon.ini"));
    for (const char *line : {"RowHeight=31", "ListFontSize=13", "RowIndicator=0", "GridLines=0"})
        EXPECT_TRUE(ini.contains(line)) << line;
    TFormMain &again = open();
    auto *reopened = again.fileList()->findChild<QTableView *>();
    EXPECT_EQ(reopened->verticalHeader()->defaultSectionSize(), 31);
    EXPECT_FALSE(reopened->verticalHeader()->isVisibleTo(reopened));
}

// "Simultaneous conversions" below the list and in the options window is
// one setting: a change in either shows in the other and is kept.
TEST_F(MainOptions, SimultaneousConversionsIsOneSettingInBothWindows)
{
    writeSettings("SimultaneousConversions=3\n");
    TFormMain &window = open();
    auto *below = window.findChild<QComboBox *>(QStringLiteral("cbSimultaneousConversions"));
    ASSERT_TRUE(below);
    EXPECT_EQ(below->currentText(), "3");
    act(MainCommand::actShowOptions)->trigger();
    TFormOptions *options = window.optionsWindow();
    auto *inOptions = options->findChild<QComboBox *>(QStringLiteral("cbSimultaneousConversions"));
    ASSERT_TRUE(inOptions);
    EXPECT_EQ(inOptions->count(), 17);
    EXPECT_EQ(inOptions->currentText(), "3");

    QTest::keyClick(inOptions, Qt::Key_Home);
    EXPECT_EQ(below->currentText(), "Auto");
    EXPECT_EQ(window.settings().cbSimultaneousConversions, 0);

    options->close();
    QTest::keyClick(below, Qt::Key_End);
    EXPECT_EQ(window.settings().cbSimultaneousConversions, 16);
    act(MainCommand::actShowOptions)->trigger();
    EXPECT_EQ(inOptions->currentText(), "16");
    closeWindow();
    EXPECT_TRUE(read(QStringLiteral("quillon.ini")).contains("\nSimultaneousConversions=16\n"));
}

// Keeping the sub-folders goes with the output folder: enabled with it, kept
// as its own key, read back as it was.
TEST_F(MainOptions, KeepingTheSubfoldersGoesWithTheOutputFolderAndIsKept)
{
    writeSettings("OutIn=1\nOutDir=/v/out\n");
    TFormMain &window = open();
    auto *keepTree = window.findChild<QCheckBox *>(QStringLiteral("chOutDirKeepTree"));
    auto *outDir = window.findChild<QRadioButton *>(QStringLiteral("rbOutDir"));
    ASSERT_TRUE(keepTree && outDir);
    EXPECT_FALSE(keepTree->isChecked());
    EXPECT_FALSE(keepTree->isEnabled());

    outDir->click();
    ASSERT_TRUE(keepTree->isEnabled());
    keepTree->click();
    EXPECT_TRUE(window.settings().rbOutDir);
    EXPECT_TRUE(window.settings().chOutDirKeepTree);
    closeWindow();
    const QByteArray ini = read(QStringLiteral("quillon.ini"));
    EXPECT_TRUE(ini.contains("\nOutIn=0\n"));
    EXPECT_TRUE(ini.contains("\nKeepSubfolders=1\n"));

    TFormMain &again = open();
    auto *keptTree = again.findChild<QCheckBox *>(QStringLiteral("chOutDirKeepTree"));
    EXPECT_TRUE(keptTree->isChecked());
    again.findChild<QRadioButton *>(QStringLiteral("rbOutDirIsInDir"))->click();
    EXPECT_FALSE(keptTree->isEnabled());
    EXPECT_FALSE(again.settings().rbOutDir);
}
