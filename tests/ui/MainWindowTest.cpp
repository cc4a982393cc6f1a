#include "MainWindowFixture.h"

#include "app/AppParams.h"

#include <QScreen>

namespace {

using MainWindowStart = MainWindowFixture;

TEST_F(MainWindowStart, TitleSizesProfilesFolderAndLanguage)
{
    write("lang/Test.ini", "[INFO]\nLangName_InEnglish=Test\n[MAIN]\nactExit=Beenden\n");
    write("quillon.ini", "[MAIN]\nLeft=0\nLanguageIni=Test.ini\n");

    TFormMain &window = open();

    EXPECT_EQ(window.windowTitle().toStdString(), "Quillon 1.10  [64-bit]");
    EXPECT_EQ(window.minimumSize(), QSize(650, 400));
    // The settings reader holds the window to the screen.
    const QSize screen = window.screen()->availableGeometry().size();
    EXPECT_EQ(window.size(), QSize(998, 712).boundedTo(screen));
    EXPECT_TRUE(QDir(path("profiles")).exists());
    EXPECT_EQ(AppParams().ProfilesDir, path("profiles"));
    EXPECT_EQ(AppParams().LanguageIni, "Test.ini");
    EXPECT_EQ(window.strings().Main.actExit, "Beenden");
    EXPECT_EQ(window.action(MainCommand::actExit)->text(), "Beenden");
    EXPECT_EQ(window.strings().Main.actConvert, "&Convert checked files");
}

} // namespace
