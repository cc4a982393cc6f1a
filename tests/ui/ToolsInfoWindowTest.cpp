#include "app/AppStartup.h"
#include "app/ProgramDir.h"
#include "i18n/AppStrings.h"
#include "support/TestSupport.h"
#include "ui/tools/FormToolsInfo.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(ToolsInfoWindow, ShowsTheReportOfTheCliAndBuildsItAnewEachTime)
{
    SetProgramDir(TestSupport::BinDir());
    const TestSupport::CliRun cli = TestSupport::RunCli({"tools"});
    ASSERT_TRUE(cli.out.endsWith("\r\n"));
    const QString expected = cli.out.chopped(2);

    TAppParams params = InitAppParams(TestSupport::BinDir());
    TFormToolsInfo window(params, TAppStrings());
    QSignalSpy shown(&window, &TFormToolsInfo::reportShown);
    auto *view = window.findChild<QPlainTextEdit *>("me");
    ASSERT_NE(view, nullptr);
    window.show();
    EXPECT_EQ(view->toPlainText(), "Please wait...");
    ASSERT_TRUE(shown.wait(60000));
    EXPECT_EQ(window.report(), expected);
    EXPECT_EQ(view->toPlainText(), QString(expected).replace("\r\n", "\n"));
    EXPECT_TRUE(view->isReadOnly());
    EXPECT_EQ(window.windowTitle(), "Tools info");

    QTest::mouseClick(window.findChild<QPushButton *>("btnCopy"), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), expected);

    // Shown again with another FFmpeg, the window reports that one.
    window.hide();
    params.ffmpeg = TestSupport::ToolPath("argv_recorder");
    window.show();
    ASSERT_TRUE(shown.wait(60000));
    EXPECT_TRUE(window.report().contains("File name: " + params.ffmpeg + "\r\n"))
        << window.report().toStdString();
}
