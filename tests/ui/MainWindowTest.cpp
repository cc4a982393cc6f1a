#include "ui/MainWindow.h"
#include "app/AppParams.h"
#include "app/ProgramDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(MainWindow, StartsWithTitleSizesProfilesFolderAndLanguage)
{
    QTemporaryDir dir;
    const QString programDir = QDir(dir.path()).canonicalPath();
    ASSERT_TRUE(QDir().mkpath(programDir + "/lang"));
    QFile lang(programDir + "/lang/Test.ini");
    ASSERT_TRUE(lang.open(QIODevice::WriteOnly));
    lang.write("[INFO]\nLangName_InEnglish=Test\n[MAIN]\nactExit=Beenden\n");
    lang.close();
    QFile ini(programDir + "/quillon.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[MAIN]\nLeft=0\nLanguageIni=Test.ini\n");
    ini.close();
    SetProgramDir(programDir);

    TFormMain window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(window.windowTitle().toStdString(), "Quillon 1.10  [64-bit]");
    EXPECT_EQ(window.minimumSize(), QSize(650, 400));
    EXPECT_EQ(window.size(), QSize(998, 712));
    EXPECT_TRUE(QDir(programDir + "/profiles").exists());
    EXPECT_EQ(AppParams().ProfilesDir, programDir + "/profiles");
    EXPECT_EQ(AppParams().LanguageIni, "Test.ini");
    EXPECT_EQ(window.strings().Main.actExit, "Beenden");
    EXPECT_EQ(window.strings().Main.actConvert, "Convert checked files");
}
