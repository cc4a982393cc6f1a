#include "MainWindowFixture.h"

#include "app/ProgramDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>

namespace {

using MainSettingsFile = MainWindowFixture;

template <typename T> T *child(const TFormMain &window, const char *name)
{
    T *widget = window.findChild<T *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

TEST_F(MainSettingsFile, FirstRunStartsFromTheDefaultsAndTheCloseWritesThem)
{
    TFormMain &window = open();
    const QSize screen = window.screen()->availableGeometry().size();
    EXPECT_EQ(window.size(), QSize(998, 712).boundedTo(screen).expandedTo(QSize(650, 400)));
    EXPECT_TRUE(child<QRadioButton>(window, "rbOutDirIsInDir")->isChecked());
    EXPECT_EQ(child<QLineEdit>(window, "edOutDir")->text(),
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    EXPECT_FALSE(child<QLineEdit>(window, "edOutDir")->isEnabled());
    EXPECT_EQ(child<QComboBox>(window, "cbAfterConversion")->currentText(), "Do nothing");
    closeWindow();

    const QByteArray ini = read("quillon.ini");
    for (const char *line :
        {"Maximized=0\n", "OutIn=1\n", "FileAnalysis=Full\n", "colNo_Visible=1\n", "[PROGRESS]\n"})
        EXPECT_TRUE(ini.contains(line)) << line << "\n" << ini.toStdString();
    EXPECT_TRUE(QFileInfo(path("profiles/__Last.ini")).isFile());
}

TEST_F(MainSettingsFile, WindowOutputOptionsAndColumnsComeBackAtTheNextStart)
{
    writeSettings();
    {
        TFormMain &window = open();
        window.move(40, 30);
        window.resize(700, 500);
        child<QRadioButton>(window, "rbOutDir")->click();
        auto *edOutDir = child<QLineEdit>(window, "edOutDir");
        EXPECT_TRUE(edOutDir->isEnabled());
        edOutDir->clear();
        QTest::keyClicks(edOutDir, "/videos/out");
        QTest::keyClick(child<QComboBox>(window, "cbOutputExists"), Qt::Key_Down);
        QTest::keyClick(child<QComboBox>(window, "cbAfterConversion"), Qt::Key_End);
        child<QCheckBox>(window, "chKeepDates")->click();
        window.fileList()->columnActions().value(0)->trigger(); // hides colNo
        child<QToolButton>(window, "pnConversionSettings")->click(); // collapses the settings
        closeWindow();
    }
    {
        TFormMain &window = open();
        EXPECT_EQ(window.pos(), QPoint(40, 30));
        EXPECT_EQ(window.size(), QSize(700, 500));
        EXPECT_TRUE(child<QRadioButton>(window, "rbOutDir")->isChecked());
        EXPECT_EQ(child<QLineEdit>(window, "edOutDir")->text(), "/videos/out");
        EXPECT_TRUE(child<QLineEdit>(window, "edOutDir")->isEnabled());
        EXPECT_EQ(child<QComboBox>(window, "cbOutputExists")->currentIndex(), 1);
        EXPECT_EQ(
            child<QComboBox>(window, "cbAfterConversion")->currentText(), "Power off the computer");
        EXPECT_TRUE(child<QCheckBox>(window, "chKeepDates")->isChecked());
        EXPECT_EQ(window.settings().cbAfterConversion, 2);
        EXPECT_FALSE(window.fileList()->columnStates()[colNo].Visible);
        EXPECT_FALSE(window.fileList()->columnActions().value(0)->isChecked());
        EXPECT_FALSE(child<QToolButton>(window, "pnConversionSettings")->isChecked());
        EXPECT_TRUE(child<QWidget>(window, "pnConversionSettingsBody")->isHidden());

        // Closed maximized: the normal geometry stays in the file.
        window.showMaximized();
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.isMaximized(); }, 2000));
        closeWindow();
    }
    const QByteArray ini = read("quillon.ini");
    for (const char *line : {"Maximized=1\n", "Left=40\n", "Width=700\n"})
        EXPECT_TRUE(ini.contains(line)) << line << "\n" << ini.toStdString();
    EXPECT_TRUE(open().isMaximized());
}

// The height the user gives the list comes back at the next start.
TEST_F(MainSettingsFile, TheListsHeightAboveTheSplitterComesBack)
{
    writeSettings();
    {
        TFormMain &window = open();
        auto *splitter = child<QSplitter>(window, "splMain");
        const int before = splitter->sizes().value(0);
        ASSERT_GT(before, 100);
        // The user drags the handle 40 pixels up.
        QSplitterHandle *handle = splitter->handle(1);
        const QPointF from = handle->rect().center();
        const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, handle->mapToGlobal(at), Qt::LeftButton, buttons, {});
            QApplication::sendEvent(handle, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, from - QPointF(0, 40), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, from - QPointF(0, 40), Qt::NoButton);
        ASSERT_EQ(splitter->sizes().value(0), before - 40);
        // A later resize of the window leaves the chosen height alone.
        window.resize(window.width(), window.height() - 30);
        EXPECT_EQ(splitter->sizes().value(0), before - 40);
        closeWindow();
        EXPECT_TRUE(
            read("quillon.ini").contains("FileListHeight=" + QByteArray::number(before - 40)));
    }
    TFormMain &window = open();
    EXPECT_EQ(child<QSplitter>(window, "splMain")->sizes().value(0),
        QString::fromUtf8(read("quillon.ini"))
            .section("FileListHeight=", 1)
            .section('\n', 0, 0)
            .toInt());
}

TEST_F(MainSettingsFile, HandAddedKeysSurviveAndAnUnwritableFolderDoesNotStopTheClose)
{
    const QByteArray handAdded = "EscExit=1\nToolsDir=/no/tools\nffmpeg=/no/ffmpeg\n"
                                 "MediaInfoDll=/no/mediainfo.so\nWebSite=https://w.example\n";
    writeSettings(handAdded + "; a note\n[USER]\nmine=1\n");
    open();
    closeWindow();
    const QByteArray ini = read("quillon.ini");
    for (const QByteArray &line : handAdded.split('\n') + QList<QByteArray>{"; a note", "mine=1"})
        EXPECT_TRUE(ini.contains(line)) << line.toStdString() << "\n" << ini.toStdString();

    // CI runs as root, who may write anywhere: a folder below a regular file
    // cannot be made by anyone.
    write("plain-file", "x");
    SetProgramDir(path("plain-file/program"));
    open();
    QSignalSpy closed(m_window.get(), &TFormMain::closed);
    EXPECT_TRUE(m_window->close());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(MainSettingsFile, BrowseStartsAtTheProgramFolderWhenTheOutputFolderIsMissing)
{
    writeSettings("OutIn=0\nOutDir=/no/such/folder\n");
    TFormMain &window = open();
    QString startedAt;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            startedAt = dialog->directory().absolutePath();
            dialog->reject();
        }
    });
    poll.start(20);
    act(MainCommand::actBrowseOutDir)->trigger();
    EXPECT_EQ(startedAt, path());
    EXPECT_EQ(child<QLineEdit>(window, "edOutDir")->text(), "/no/such/folder");
}

} // namespace
