#include "MainWindowFixture.h"

#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/info/FileInfoWindow.h"
#include "ui/options/FormOptions.h"
#include "ui/settings/ConversionSettingsPanel.h"
#include "ui/tools/FormToolsInfo.h"
#include "ui/update/FormCheckUpdate.h"

#include <QComboBox>
#include <QLabel>

using MainLanguage = MainWindowFixture;

// Choosing a language in the options window changes every window at once,
// the open ones included, and the next start keeps it.
TEST_F(MainLanguage, ChoiceReachesEveryOpenWindowAndIsKept)
{
    QDir().mkpath(path(QStringLiteral("lang")));
    for (const char *name : {"English.ini", "German.ini"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(QLN_SOURCE_DIR "/lang/") + QLatin1String(name),
            path(QStringLiteral("lang/")) + QLatin1String(name)));
    writeSettings();
    TFormMain &window = open();
    QWidget *const others[] = {window.optionsWindow(), window.progressWindow(),
        window.errorsWindow(), window.fileInfoWindow(), window.toolsInfoWindow()};
    for (QWidget *other : others)
        other->show();
    EXPECT_EQ(act(MainCommand::actConvert)->text(), QStringLiteral("Convert checked files"));

    auto *languages = window.optionsWindow()->findChild<QComboBox *>(QStringLiteral("cbLanguage"));
    ASSERT_TRUE(languages);
    const int german = languages->findText(QStringLiteral("Deutsch"));
    ASSERT_GE(german, 0);
    languages->setCurrentIndex(german);

    EXPECT_EQ(
        act(MainCommand::actConvert)->text(), QStringLiteral("Markierte Dateien konvertieren"));
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
    EXPECT_EQ(profile->text(), QStringLiteral("Profil:"));
    const auto *analysis
        = window.optionsWindow()->findChild<QComboBox *>(QStringLiteral("cbFileListFileAnalysis"));
    ASSERT_TRUE(analysis);
    EXPECT_EQ(analysis->itemText(0), QStringLiteral("Vollständig"));

    closeWindow();
    EXPECT_TRUE(read(QStringLiteral("quillon.ini")).contains("LanguageIni=German.ini"));
    TFormMain &again = open();
    EXPECT_EQ(again.action(MainCommand::actConvert)->text(),
        QStringLiteral("Markierte Dateien konvertieren"));
}
