// The main window from the keyboard: where Tab goes, the list's menu key,
// the quit key, and that the focus always shows.
#include "MainWindowFixture.h"

#include "ui/filelist/FileListView.h"
#include "ui/main/OutputOptionsPanel.h"

#include <QImage>
#include <QMenu>
#include <QScrollArea>

namespace {

using KeyboardFocus = MainWindowFixture;

QWidget *pressTab(Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
    return QApplication::focusWidget();
}

TEST_F(KeyboardFocus, TabLeavesTheListAndWalksOnlyControls)
{
    writeSettings();
    TFormMain &window = open();
    addFiles({mediaFile("a.mkv"), mediaFile("b.mkv")});
    auto *view = window.findChild<FileListView *>();
    ASSERT_TRUE(view);
    view->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), view);

    // To the output options below the list, and back.
    auto *below = window.findChild<OutputOptionsPanel *>();
    QWidget *next = pressTab();
    EXPECT_NE(next, view);
    EXPECT_TRUE(below->isAncestorOf(next));
    EXPECT_EQ(pressTab(Qt::ShiftModifier), view);
    QWidget *previous = pressTab(Qt::ShiftModifier);
    EXPECT_NE(previous, view);
    EXPECT_FALSE(below->isAncestorOf(previous));

    // Once round the window: every stop is a control, never the scroll area
    // that holds the advanced settings.
    auto *advanced = window.findChild<QScrollArea *>("sboxAdvanced");
    ASSERT_TRUE(advanced && advanced->isVisible());
    QWidget *first = pressTab();
    int stops = 0;
    for (QWidget *at = first; stops < 300; ++stops) {
        EXPECT_NE(at, advanced);
        at = pressTab();
        if (at == first)
            break;
    }
    EXPECT_LT(stops, 300) << "Tab never came round";
}

TEST_F(KeyboardFocus, ShiftF10OpensTheListMenuAndCtrlQQuits)
{
    writeSettings();
    TFormMain &window = open();
    addFiles({mediaFile("a.mkv")});
    auto *view = window.findChild<FileListView *>();
    QSignalSpy menu(window.fileList(), &FileListPanel::contextMenuRequested);
    QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(menu.count(), 1);
    // At the current row, inside the list.
    const QPoint at = view->viewport()->mapFromGlobal(menu[0][0].toPoint());
    EXPECT_TRUE(view->visualRect(view->currentIndex()).contains(at));
    auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_TRUE(popup);
    popup->close();

    QSignalSpy closed(&window, &TFormMain::closed);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(KeyboardFocus, TheEmptyListShowsItsFocus)
{
    writeSettings();
    TFormMain &window = open();
    auto *view = window.findChild<FileListView *>();
    // Reached with Tab, as a keyboard user does: styles draw the focus
    // frame only then.
    pressTab();
    for (int i = 0; i < 300 && QApplication::focusWidget() != view; ++i)
        pressTab(Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), view);
    const QImage focused = view->viewport()->grab().toImage();
    pressTab();
    ASSERT_NE(QApplication::focusWidget(), view);
    EXPECT_NE(view->viewport()->grab().toImage(), focused);
}

} // namespace
