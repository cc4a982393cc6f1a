#include "MainWindowFixture.h"

#include "filelist/FileListColumns.h"
#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/info/FileInfoWindow.h"
#include "ui/main/AboutWindow.h"
#include "ui/options/OptionsWindow.h"
#include "ui/settings/CommandLineWindow.h"
#include "ui/settings/ConversionSettingsPanel.h"
#include "ui/tools/ToolsInfoWindow.h"
#include "ui/update/CheckUpdateWindow.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>

namespace {

using LayoutFit = MainWindowFixture;

// Where a shown control has less room than its text needs, or lies over
// another, or is cut off by what holds it, or a box scrolls sideways: one
// line each.
QStringList crampedControls(QWidget *window)
{
    QStringList problems;
    const auto name = [](const QWidget *w) {
        return QString::fromLatin1(w->metaObject()->className()) + u' '
            + (w->objectName().isEmpty() ? w->parentWidget()->objectName() : w->objectName());
    };
    const QList<QWidget *> all = window->findChildren<QWidget *>();
    for (QWidget *w : all) {
        // Qt's own parts of a control (a line edit's clear button) are its
        // business.
        if (!w->isVisibleTo(window) || w->isWindow() || w->inherits("QLineEditIconButton"))
            continue;
        int needed = 0;
        if (auto *label = qobject_cast<QLabel *>(w);
            label && !label->wordWrap() && !label->text().isEmpty())
            needed = label->sizeHint().width();
        else if (auto *button = qobject_cast<QAbstractButton *>(w);
                 button && !button->text().isEmpty())
            needed = button->sizeHint().width();
        QSize neededSize;
        if (auto *label = qobject_cast<QLabel *>(w); label && !label->text().isEmpty())
            neededSize = label->wordWrap() ? QSize(0, label->heightForWidth(label->width()))
                                           : label->sizeHint();
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            neededSize = button->sizeHint();
        if (neededSize.height() > w->height() + 1)
            problems << QStringLiteral("%1: %2 px high for %3")
                            .arg(name(w))
                            .arg(w->height())
                            .arg(neededSize.height());
        // Over a sibling.
        if (w->parentWidget() && w->findChildren<QWidget *>().isEmpty())
            for (QWidget *other :
                w->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                if (other != w && other < w && other->isVisibleTo(window) && !other->isWindow()
                    && other->findChildren<QWidget *>().isEmpty()
                    && other->geometry().intersects(w->geometry()))
                    problems << QStringLiteral("%1 over %2").arg(name(w), name(other));
        if (needed > w->width())
            problems << QStringLiteral("%1 \"%2\": %3 px for %4")
                            .arg(name(w),
                                qobject_cast<QLabel *>(w)
                                    ? qobject_cast<QLabel *>(w)->text()
                                    : qobject_cast<QAbstractButton *>(w)->text())
                            .arg(w->width())
                            .arg(needed);
        if (auto *tabs = qobject_cast<QTabBar *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->tabRect(i).width()
                    < tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)) + 8)
                    problems << QStringLiteral("tab \"%1\" cut").arg(tabs->tabText(i));
        // Cut by its holder: sideways anywhere, up and down outside a
        // scroll area's contents.
        QWidget *holder = w->parentWidget();
        if (holder && holder != window && w->findChildren<QWidget *>().isEmpty()) {
            const QRect inside = holder->rect();
            const bool scrolls = qobject_cast<QAbstractScrollArea *>(holder->parentWidget())
                || (holder->parentWidget()
                    && qobject_cast<QAbstractScrollArea *>(holder->parentWidget()->parentWidget()));
            const QRect g = w->geometry();
            if (g.right() > inside.right() + 1 || g.left() < inside.left() - 1
                || (!scrolls && (g.bottom() > inside.bottom() + 1)))
                problems << QStringLiteral("%1 cut by %2").arg(name(w), name(holder));
        }
        if (auto *area = qobject_cast<QAbstractScrollArea *>(w); area
            && area->horizontalScrollBar()->maximum() > 0 && !w->inherits("QAbstractItemView")
            && !w->inherits("QPlainTextEdit"))
            problems << QStringLiteral("%1 scrolls sideways").arg(name(w));
    }
    return problems;
}

TEST_F(LayoutFit, EveryControlHasRoomInEveryLanguage)
{
    const char *const languages[]
        = {"English", "German", "French", "Spanish", "Polish", "Portuguese_BR", "Russian"};
    for (const char *language : languages) {
        SCOPED_TRACE(language);
        const QString file = QLatin1String(language) + QStringLiteral(".ini");
        installLanguages({(std::string(language) + ".ini").c_str()});
        writeSettings("LanguageIni=" + file.toUtf8() + "\nLeft=0\n");
        // The default size, whatever the test screen's size.
        m_window = std::make_unique<TFormMain>();
        TFormMain &window = *m_window;
        window.resize(998, 712);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
        const QStringList problems = crampedControls(&window);
        EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
        // Seven rows of the list in view, and the columns a user follows a
        // run by: file, size, duration, status.
        auto *list = window.fileList()->findChild<QTableView *>();
        EXPECT_GE(list->viewport()->height(), 7 * 20) << list->viewport()->height();
        for (int column : {colFileName, colSize, colDuration, colStatus}) {
            const QHeaderView *header = list->horizontalHeader();
            EXPECT_LE(header->sectionViewportPosition(column) + header->sectionSize(column),
                list->viewport()->width())
                << column;
        }
        // A larger window: nothing scrolls.
        window.resize(1280, 900);
        QApplication::processEvents();
        auto *advanced = window.findChild<QAbstractScrollArea *>(QStringLiteral("sboxAdvanced"));
        EXPECT_EQ(advanced->verticalScrollBar()->maximum(), 0);
        const QStringList large = crampedControls(&window);
        EXPECT_TRUE(large.isEmpty()) << large.join(u'\n').toStdString();

        // The smallest window: the settings scroll, nothing overlaps.
        window.resize(window.minimumSize());
        QApplication::processEvents();
        QStringList small = crampedControls(&window);
        // There the settings may scroll either way: that is what keeps them
        // apart.
        small.removeAll(QStringLiteral("QScrollArea sboxSettings scrolls sideways"));
        EXPECT_TRUE(small.isEmpty()) << small.join(u'\n').toStdString();

        // The other windows at the size they open with.
        for (QWidget *other : otherWindows(window)) {
            SCOPED_TRACE(other->objectName().toStdString());
            other->show();
            QApplication::processEvents();
            const QStringList cramped = crampedControls(other);
            EXPECT_TRUE(cramped.isEmpty()) << cramped.join(u'\n').toStdString();
            other->hide();
        }
        closeWindow();
    }
}

} // namespace
