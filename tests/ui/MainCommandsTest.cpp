#include "MainWindowFixture.h"
#include "ui/FileListPanelTestSupport.h"

#include "app/AppInfo.h"
#include "app/AppParams.h"
#include "app/AppStartup.h"
#include "i18n/AppStrings.h"
#include "support/TestSupport.h"
#include "ui/AppEntry.h"
#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/info/FileInfoWindow.h"
#include "ui/main/AboutWindow.h"
#include "ui/options/OptionsWindow.h"
#include "ui/settings/ConversionSettingsPanel.h"

#include <QComboBox>
#include <QDBusConnection>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using MainCommands = MainWindowFixture;
using C = MainCommand;

// The list commands that are enabled, by name, in table order.
std::string enabledListCommands(const TFormMain &window)
{
    std::string names;
    for (C c : {C::actConvert, C::actSaveBat, C::actShowHideFileInfo, C::actAddFiles,
             C::actAddFolder, C::actRemoveChecked, C::actClearFileList, C::actCheckAll,
             C::actUncheckAll, C::actInvertSelection, C::actCheckSelected, C::actUncheckSelected,
             C::actLoadFileList, C::actSaveFileList, C::actExploreDirectory}) {
        if (!window.action(c)->isEnabled())
            continue;
        if (!names.empty())
            names += ' ';
        names += window.action(c)->objectName().toStdString();
    }
    return names;
}

TEST_F(MainCommands, FollowTheRowsTheirChecksAndTheSelection)
{
    writeSettings();
    TFormMain &window = open();
    const std::string always = "actAddFiles actAddFolder";
    EXPECT_EQ(enabledListCommands(window), always + " actLoadFileList");

    const QString a = mediaFile("a.mkv"), b = mediaFile("b.mkv");
    // Names are shown as they are: no accelerator, no markup.
    const QString c = mediaFile("Tom & <i>Jerry/c.mkv");
    addFiles({a});
    // The first row of a new list is the current one; the panels follow it.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window.conversionSettings()->selectedFile() == a; }, 5000));
    EXPECT_EQ(window.fileList()->currentRow(), 0);
    act(C::actUncheckAll)->trigger();
    // One unchecked row: no conversion, but the file's facts and the list.
    EXPECT_EQ(enabledListCommands(window),
        "actShowHideFileInfo " + always
            + " actClearFileList actCheckAll actInvertSelection actCheckSelected actLoadFileList "
              "actSaveFileList actExploreDirectory");
    act(C::actCheckAll)->trigger();
    EXPECT_EQ(enabledListCommands(window),
        "actConvert actSaveBat actShowHideFileInfo " + always
            + " actRemoveChecked actClearFileList actUncheckAll actInvertSelection "
              "actUncheckSelected actLoadFileList actSaveFileList actExploreDirectory");

    addFiles({b, c});
    selectRows({0});
    act(C::actUncheckSelected)->trigger();
    selectRows({0, 1});
    EXPECT_EQ(enabledListCommands(window),
        "actConvert actSaveBat actShowHideFileInfo " + always
            + " actRemoveChecked actClearFileList actCheckAll actUncheckAll actInvertSelection "
              "actCheckSelected actUncheckSelected actLoadFileList actSaveFileList "
              "actExploreDirectory");
    const QString folder = path("media");
    EXPECT_EQ(act(C::actExploreDirectory)->text(), "O&pen directory \"" + folder + "\"");
    EXPECT_EQ(act(C::actExploreDirectory)->toolTip(), "Open directory \"" + folder + "\"");

    selectRows({2});
    EXPECT_EQ(act(C::actExploreDirectory)->text().toStdString(),
        ("O&pen directory \"" + path("media/Tom && <i>Jerry") + "\"").toStdString());
    EXPECT_TRUE(act(C::actExploreDirectory)->toolTip().contains("Tom &amp; &lt;i&gt;Jerry"));
    EXPECT_EQ(window.windowTitle(), AppInfo::ProgramTitle() + " - " + c);
    EXPECT_FALSE(act(C::actCheckSelected)->isEnabled());

    act(C::actClearFileList)->trigger();
    EXPECT_EQ(window.windowTitle(), AppInfo::ProgramTitle());
    EXPECT_EQ(enabledListCommands(window), always + " actLoadFileList");
    EXPECT_EQ(act(C::actExploreDirectory)->text(), "O&pen directory \"\"");
}

TEST_F(MainCommands, EveryCommandHasItsPlaceKeyAndName)
{
    writeSettings();
    TFormMain &window = open();

    // One key, one command: a key bound twice in a window does nothing.
    QMap<QKeySequence, QString> keys;
    for (const QAction *action : window.findChildren<QAction *>()) {
        const auto *owner = qobject_cast<const QWidget *>(action->parent());
        if (!owner || owner->window() != &window)
            continue;
        for (const QKeySequence &key : action->shortcuts()) {
            EXPECT_FALSE(keys.contains(key))
                << key.toString().toStdString() << ": " << keys.value(key).toStdString() << ", "
                << action->objectName().toStdString();
            keys.insert(key, action->objectName());
        }
    }
    EXPECT_EQ(keys.value(QKeySequence(QStringLiteral("Ctrl+Shift+F1"))), "actAbout");
    EXPECT_EQ(keys.value(QKeySequence(Qt::Key_Escape)), "actEsc");
    // The settings panel's commands reach the encoder menu with their keys.
    EXPECT_EQ(keys.value(QKeySequence(QStringLiteral("Ctrl+P"))), "actLoadProfile");
    EXPECT_EQ(keys.value(QKeySequence(Qt::Key_F2)), "actShowCmdLine");
    const QMenu *encoder = window.findChild<QMenu *>("mnuEncoder");
    ASSERT_TRUE(encoder);
    EXPECT_EQ(encoder->actions().first()->objectName(), "actLoadProfile");

    // The toolbar is never blank, and buttons showing only an image are named.
    const QToolBar *toolbar = window.findChild<QToolBar *>("tbMain");
    ASSERT_NE(toolbar, nullptr);
    QStringList names;
    for (const QToolButton *button : toolbar->findChildren<QToolButton *>()) {
        if (!button->defaultAction())
            continue;
        EXPECT_FALSE(button->icon().isNull()) << button->accessibleName().toStdString();
        names.append(button->accessibleName());
    }
    EXPECT_EQ(names,
        QStringList({"Add files", "Add folder", "Remove", "Convert", "File info", "Options",
            "Home page", "Stay on top"}));
    EXPECT_EQ(act(C::actAddFiles)->toolTip(), "Add files to list...");

    // Pages the project does not have are hidden.
    EXPECT_FALSE(act(C::actGoToFacebook)->isVisible() || act(C::actGoToTwitter)->isVisible()
        || act(C::actGoToDonation)->isVisible());

    // Menus open from the keyboard.
    QStringList titles;
    for (const QAction *menu : window.menuBar()->actions())
        titles.append(menu->text());
    EXPECT_EQ(titles, QStringList({"&File", "&View", "File &list", "&Encoder", "&Help"}));
}

TEST_F(MainCommands, EscClosesTheWindowOnlyWithEscExit)
{
    writeSettings();
    open();
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    EXPECT_TRUE(m_window->isVisible());
    closeWindow();

    writeSettings("EscExit=1\n");
    open();
    QSignalSpy closed(m_window.get(), &TFormMain::closed);
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(MainCommands, PagesAndFoldersOpenThroughTheDesktop)
{
    writeSettings("WebSite=https://mirror.example/q/\nOutDir=/no/such/folder\n");
    TFormMain &window = open();
    OpenedUrls opened;
    // Help is the guide shipped beside the program; the site's page only
    // when a copy lacks it.
    act(C::actHelp)->trigger();
    write("data/quillon-help.html", "<html></html>");
    act(C::actHelp)->trigger();
    EXPECT_TRUE(act(C::actGoToHomePage)->isVisible());
    act(C::actGoToHomePage)->trigger();
    EXPECT_EQ(opened.urls,
        QList<QUrl>({QUrl("https://mirror.example/q/products/quillon/quickstart.php"),
            QUrl::fromLocalFile(path("data/quillon-help.html")),
            QUrl("https://mirror.example/q/products/quillon/")}));

    // The output folder: only when chosen, the program's folder when missing.
    EXPECT_FALSE(act(C::actExploreOutDir)->isEnabled());
    auto *edOutDir = window.findChild<QLineEdit *>("edOutDir");
    EXPECT_FALSE(edOutDir->isEnabled());
    window.findChild<QRadioButton *>("rbOutDir")->click();
    EXPECT_TRUE(edOutDir->isEnabled());
    opened.urls.clear();
    act(C::actExploreOutDir)->trigger();
    edOutDir->clear();
    QTest::keyClicks(edOutDir, path("media"));
    QDir().mkpath(path("media"));
    act(C::actExploreOutDir)->trigger();
    EXPECT_EQ(opened.urls,
        QList<QUrl>({QUrl::fromLocalFile(path()), QUrl::fromLocalFile(path("media"))}));

    // A row's folder; the file manager's D-Bus service is not there in tests.
    if (QDBusConnection::sessionBus().isConnected())
        return;
    addFiles({mediaFile("sub/a.mkv")});
    selectRows({0});
    opened.urls.clear();
    act(C::actExploreDirectory)->trigger();
    EXPECT_EQ(opened.urls, QList<QUrl>({QUrl::fromLocalFile(path("media/sub"))}));
}

// Without a web site nothing points at one; a missing guide is said.
TEST_F(MainCommands, WithoutAWebSiteHelpIsLocalOrExplained)
{
    writeSettings();
    open();
    if (!BuiltInWebSite().isEmpty())
        GTEST_SKIP() << "built with a web site";
    EXPECT_FALSE(act(C::actGoToHomePage)->isVisible());
    EXPECT_FALSE(act(C::actGoToDonation)->isVisible());
    OpenedUrls opened;
    QString said;
    UiTest::OnModal<QMessageBox> answer([&](QMessageBox *box) {
        said = box->text();
        box->accept();
    });
    act(C::actHelp)->trigger();
    EXPECT_TRUE(opened.urls.isEmpty());
    EXPECT_EQ(said, "The help file \"" + path("data/quillon-help.html") + "\" is missing.");
}

TEST_F(MainCommands, AboutShowsPlaceholderValuesAsText)
{
    writeSettings("WebSite=https://x.example/<b>bold</b>&amp;\n");
    TFormMain &window = open();
    QTest::keyClick(&window, Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier);
    TFormAbout *about = window.aboutWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
    EXPECT_EQ(about->windowTitle(), "About");
    EXPECT_TRUE(about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const QString text = about->text();
    EXPECT_TRUE(
        text.contains("https://x.example/&lt;b&gt;bold&lt;/b&gt;&amp;amp;/products/quillon/"))
        << text.toStdString();
    EXPECT_FALSE(text.contains("<b>bold")) << text.toStdString();
    EXPECT_TRUE(text.contains("Quillon")) << text.toStdString();

    // The version of the FFmpeg in use, as it tells it, or "not found".
    QSignalSpy versions(about, &TFormAbout::versionsShown);
    ASSERT_TRUE(versions.count() > 0 || versions.wait(10000));
    QProcess ffmpeg;
    ffmpeg.start(u"ffmpeg"_s, {u"-version"_s});
    const QString told = ffmpeg.waitForFinished(10000)
        ? QString::fromUtf8(ffmpeg.readAllStandardOutput()).section(u' ', 2, 2)
        : u"not found"_s;
    EXPECT_TRUE(about->text().contains("FFmpeg</a> (" + told + ")")) << about->text().toStdString();
    EXPECT_FALSE(about->text().contains("N-100681")) << about->text().toStdString();
    QTest::keyClick(about, Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
}

TEST_F(MainCommands, StayOnTopAndTheTrayKeepTheWindowsReachable)
{
    writeSettings();
    TFormMain &window = open();
    window.move(50, 60);
    QTest::keyClick(&window, Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.aboutWindow()));

    // Changing window flags hides a window: it comes back where it was.
    act(C::actStayOnTop)->trigger();
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.pos(), QPoint(50, 60));
    EXPECT_TRUE(act(C::actStayOnTop)->isChecked());
    EXPECT_TRUE(window.aboutWindow()->isVisible());
    EXPECT_TRUE(window.aboutWindow()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    act(C::actStayOnTop)->trigger();
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(act(C::actStayOnTop)->isChecked());

    // Without a tray (as here) the window minimizes instead of vanishing.
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    EXPECT_EQ(act(C::actShowHideMainWindow)->text(), "&Minimize to system tray");
    act(C::actMinimizeToTray)->trigger();
    EXPECT_TRUE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MainCommands, ALanguageLoadedOverTheCatalogueReachesEveryText)
{
    writeSettings();
    write("lang/Test.ini",
        u"[INFO]\nLangName_InEnglish=Test\n[MAIN]\nactExit=Beenden\n"
        u"actAddFiles=Dateien hinzufügen...\nbtnAdd=Hinzufügen\nmnuFile=Datei\n"
        u"mnuColumns=Spalten\nlblAfterConversion=Danach:\n"
        u"cbAfterConversion_CloseApplication=Programm schließen\n"
        u"actExploreDirectory=Ordner \"%s\" öffnen\ncolSize=Größe\n[About]\nCaption=Über\n"_s
            .toUtf8());
    TFormMain &window = open();
    auto *after = window.findChild<QComboBox *>("cbAfterConversion");
    after->setCurrentIndex(1);

    window.strings().LoadFromFile(path("lang/Test.ini"));
    window.SetLang();

    EXPECT_EQ(act(C::actExit)->text(), "Beenden");
    EXPECT_EQ(act(C::actAddFiles)->text(), u"Dateien hinzufügen..."_s);
    EXPECT_EQ(act(C::actAddFiles)->toolTip(), u"Dateien hinzufügen..."_s);
    EXPECT_EQ(act(C::actAddFiles)->iconText(), u"Hinzufügen"_s);
    EXPECT_EQ(window.menuBar()->actions().value(0)->text(), "&Datei");
    EXPECT_EQ(act(C::actExploreDirectory)->text(), u"Ordner \"\" öffnen"_s);
    EXPECT_EQ(window.findChild<QLabel *>("lblAfterConversion")->text(), "Danach:");
    EXPECT_EQ(after->currentIndex(), 1);
    EXPECT_EQ(after->currentText(), u"Programm schließen"_s);
    EXPECT_EQ(window.aboutWindow()->windowTitle(), u"Über"_s);
    // The list's column commands, in both columns menus.
    const QList<QAction *> columns = window.fileList()->columnActions();
    EXPECT_TRUE(std::any_of(
        columns.begin(), columns.end(), [](const QAction *a) { return a->text() == u"Größe"_s; }));
    EXPECT_EQ(window.popLv()->actions().constLast()->text(), "Spalten");
}

TEST_F(MainCommands, CommandLineAddsFilesFoldersAndListsInTheGivenOrder)
{
    writeSettings();
    const QString b = mediaFile("b.mkv"), c = mediaFile("dir/c.avi"), a = mediaFile("a.mp4");
    mediaFile("notes.txt");
    write("media/list.lst", (a + "\r\n").toUtf8());
    TFormMain &window = open();
    window.addCommandLinePaths({b, path("media/dir"), path("media/list.lst"),
        path("media/notes.txt"), path("media/missing.mkv")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.fileList()->rows().size() == 3; }, 5000));
    QStringList names;
    for (const FileListRow &row : window.fileList()->rows())
        names.append(row.fileName);
    EXPECT_EQ(names, QStringList({"b.mkv", "c.avi", "a.mp4"}));
    // The add dialogs open where the last file came from, however it came.
    EXPECT_EQ(InitialFolder(), path("media"));
    window.fileList()->addPaths({path("media/dir")});
    EXPECT_EQ(InitialFolder(), path("media/dir"));

    // A later start hands its files over: the window comes back from the
    // tray and adds them.
    window.hide();
    openFilesInWindow(window, {mediaFile("d.mkv")});
    EXPECT_TRUE(window.isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.fileList()->rows().size() == 4; }, 5000));
    EXPECT_EQ(window.fileList()->rows().back().fileName, "d.mkv");
}

} // namespace

// A full disk while saving the list over an older one: the older list stays
// as it was, and the user is told which file and why.
TEST_F(MainCommands, AListSavedOntoAFullDiskKeepsTheOldListAndSaysWhy)
{
    writeSettings();
    open();
    addFiles({mediaFile(u"a.mkv"_s)});
    const QString old = path(u"old.lst"_s);
    write(u"old.lst"_s, "/old/list.mkv\n");
    UiTest::OnModal<QFileDialog> choose([&](QFileDialog *dialog) {
        dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(old);
        static_cast<QDialog *>(dialog)->accept();
    });
    QString shown;
    UiTest::OnModal<QMessageBox> answer([&](QMessageBox *box) {
        if (QAbstractButton *yes = box->button(QMessageBox::Yes)) // "replace it?"
            return yes->click();
        shown = box->text();
        box->accept();
    });
    {
        TestSupport::FileSizeLimit full(4);
        act(C::actSaveFileList)->trigger();
    }
    EXPECT_EQ(read(u"old.lst"_s), "/old/list.mkv\n");
    EXPECT_EQ(shown, u"Cannot write \"%1\": File too large"_s.arg(old));
}

// F12 right after a burst of list commands, with a folder still being
// walked: the options window opens at once.
TEST_F(MainCommands, OptionsOpenRightAfterABurstOfListCommands)
{
    writeSettings();
    TFormMain &window = open();
    QStringList files;
    for (int i = 0; i < 50; ++i)
        files << mediaFile(u"burst/%1.mkv"_s.arg(i));
    FileListPanel *list = window.fileList();
    for (int round = 0; round < 20; ++round) {
        list->addFiles(files);
        list->addFolder(path(u"media"_s));
        act(C::actCheckAll)->trigger();
        act(C::actInvertSelection)->trigger();
        act(C::actUncheckAll)->trigger();
        PanelTest::View(*list)->sortByColumn(round % 5, Qt::SortOrder(round % 2));
        if (round % 3 == 0)
            act(C::actRemoveChecked)->trigger();
        if (round % 4 == 0)
            act(C::actClearFileList)->trigger();
        if (list->canUndoRemove())
            list->undoRemove();
        QCoreApplication::processEvents();
    }
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_F12);
    TFormOptions *options = window.optionsWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return options->isVisible(); }, 5000));
    // Held down, F12 neither closes the window it opened nor reopens it.
    QApplication::setActiveWindow(options);
    QTest::simulateEvent(options, true, Qt::Key_F12, {}, {}, true);
    EXPECT_TRUE(options->isVisible());
    QTest::keyClick(options, Qt::Key_F12);
    EXPECT_FALSE(options->isVisible());
    QApplication::setActiveWindow(&window);
    QTest::simulateEvent(&window, true, Qt::Key_F12, {}, {}, true);
    EXPECT_FALSE(options->isVisible());
}

// F10 with rows but none selected: the first row is selected and shown.
TEST_F(MainCommands, FileInformationWithoutASelectedRowShowsTheFirstRow)
{
    writeSettings();
    TFormMain &window = open();
    const QString a = mediaFile(u"a.mkv"_s);
    addFiles({a, mediaFile(u"b.mkv"_s)});
    PanelTest::View(*window.fileList())->clearSelection();
    ASSERT_EQ(window.fileList()->currentRow(), -1);
    act(C::actShowHideFileInfo)->trigger();
    EXPECT_EQ(window.fileList()->currentRow(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.fileInfoWindow()->fileName() == a; }, 10000));
}

// F10, F11 and F8 hide their windows when those have the focus too.
TEST_F(MainCommands, WindowKeysToggleFromTheWindowTheyShow)
{
    writeSettings();
    TFormMain &window = open();
    addFiles({mediaFile(u"a.mkv"_s)});
    for (const auto &[key, shown] :
        {std::pair<Qt::Key, QWidget *>{Qt::Key_F10, window.fileInfoWindow()},
            {Qt::Key_F11, window.errorsWindow()}, {Qt::Key_F8, window.progressWindow()}}) {
        SCOPED_TRACE(key);
        QApplication::setActiveWindow(&window);
        QTest::keyClick(&window, key);
        ASSERT_TRUE(shown->isVisible());
        QApplication::setActiveWindow(shown);
        QTest::keyClick(shown, key);
        EXPECT_FALSE(shown->isVisible());
    }
}

// A box opens over the window the user is in, and above the program's
// stay-on-top windows: under them it would block every click unseen.
TEST_F(MainCommands, MessageBoxesOpenAboveTheWindowTheUserIsIn)
{
    writeSettings();
    TFormMain &window = open();
    addFiles({mediaFile(u"a.mkv"_s)});
    QTest::keyClick(&window, Qt::Key_F10);
    TFormFileInfo *info = window.fileInfoWindow();
    ASSERT_TRUE(info->isVisible());
    QWidget *owner = nullptr;
    bool onTop = false;
    UiTest::OnModal<QMessageBox> answer([&](QMessageBox *box) {
        owner = box->parentWidget();
        onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        box->accept();
    });
    for (QWidget *active : {static_cast<QWidget *>(info), static_cast<QWidget *>(&window)}) {
        SCOPED_TRACE(active->objectName().toStdString());
        QApplication::setActiveWindow(active);
        const int seen = answer.seen();
        Q_EMIT info->ffmpegMissing();
        ASSERT_EQ(answer.seen(), seen + 1);
        EXPECT_EQ(owner, active);
        EXPECT_TRUE(onTop);
    }
}
