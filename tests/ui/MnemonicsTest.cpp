// Alt+letter access in every shipped language: within a menu, the menu bar
// and the main window's labels and buttons, no two captions share a letter.
#include "MainWindowFixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QToolBar>

namespace {

class Mnemonics : public MainWindowFixture
{
};

const char *const Languages[]
    = {"English", "German", "French", "Spanish", "Polish", "Portuguese_BR", "Russian"};

// The Alt+letter of a caption ("&&" is a plain "&"); null when it has none.
QChar mnemonicOf(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return caption[i + 1].toLower();
        ++i;
    }
    return {};
}

// "letter: caption, caption" for every letter two captions share.
QStringList clashes(const QStringList &captions)
{
    QMap<QChar, QStringList> byLetter;
    for (const QString &caption : captions)
        if (const QChar letter = mnemonicOf(caption); !letter.isNull())
            byLetter[letter] << caption;
    QStringList found;
    for (auto it = byLetter.cbegin(); it != byLetter.cend(); ++it)
        if (it.value().size() > 1)
            found << QString(it.key()) + QStringLiteral(": ")
                    + it.value().join(QStringLiteral(", "));
    return found;
}

QStringList menuCaptions(const QMenu *menu)
{
    QStringList captions;
    for (const QAction *action : menu->actions())
        if (!action->isSeparator() && action->isVisible())
            captions << action->text();
    return captions;
}

// The labels, buttons and group titles the user sees in the window, the
// toolbar aside (its commands are in the menus); the menu bar's titles
// count too.
QStringList windowCaptions(QWidget *window)
{
    QStringList captions;
    if (const auto *bar = window->findChild<QMenuBar *>())
        for (const QAction *action : bar->actions())
            captions << action->text();
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || qobject_cast<QToolBar *>(w->parentWidget()))
            continue;
        if (auto *label = qobject_cast<const QLabel *>(w); label && label->buddy())
            captions << label->text();
        else if (auto *button = qobject_cast<const QAbstractButton *>(w))
            captions << button->text();
        else if (auto *box = qobject_cast<const QGroupBox *>(w))
            captions << box->title();
    }
    return captions;
}

// The window's push buttons and check boxes that carry no Alt+letter.
QStringList buttonsWithoutLetter(QWidget *window)
{
    QStringList found;
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
        if (button->isVisibleTo(window) && !button->text().isEmpty()
            && (qobject_cast<const QPushButton *>(button)
                || qobject_cast<const QCheckBox *>(button))
            && mnemonicOf(button->text()).isNull())
            found << button->text();
    return found;
}

TEST_F(Mnemonics, UniqueInEveryMenuAndInTheMainWindow)
{
    QDir().mkpath(path(QStringLiteral("lang")));
    for (const char *language : Languages) {
        SCOPED_TRACE(language);
        const QString file = QLatin1String(language) + QStringLiteral(".ini");
        ASSERT_TRUE(QFile::copy(
            QStringLiteral(QLN_SOURCE_DIR "/lang/") + file, path(QStringLiteral("lang/")) + file));
        writeSettings("LanguageIni=" + file.toUtf8() + "\nLeft=0\n");
        TFormMain &window = open();

        const QList<QAction *> titles = window.findChild<QMenuBar *>()->actions();
        QStringList titleTexts;
        for (const QAction *title : titles)
            titleTexts << title->text();
        EXPECT_EQ(clashes(titleTexts), QStringList()) << titleTexts.join(u'|').toStdString();

        int menusWithLetters = 0;
        for (const QMenu *menu : window.findChildren<QMenu *>()) {
            const QStringList captions = menuCaptions(menu);
            EXPECT_EQ(clashes(captions), QStringList())
                << menu->objectName().toStdString() << ": " << captions.join(u'|').toStdString();
            menusWithLetters += std::any_of(captions.cbegin(), captions.cend(),
                [](const QString &c) { return !mnemonicOf(c).isNull(); });
        }
        // The File, View, File list, Encoder and Help menus and the list's
        // context menu at least.
        EXPECT_GE(menusWithLetters, 6);

        const QStringList captions = windowCaptions(&window);
        EXPECT_EQ(clashes(captions), QStringList()) << captions.join(u'|').toStdString();
        const auto lettered = std::count_if(captions.cbegin(), captions.cend(),
            [](const QString &c) { return !mnemonicOf(c).isNull(); });
        EXPECT_GE(lettered, 15);
        // The MPG page's labels take the place of the AVI page's.
        window.findChild<QTabWidget *>(QStringLiteral("pcVideoFormat"))->setCurrentIndex(1);
        const QStringList mpgCaptions = windowCaptions(&window);
        EXPECT_EQ(clashes(mpgCaptions), QStringList()) << mpgCaptions.join(u'|').toStdString();
        EXPECT_NE(mpgCaptions, captions);

        // Every other window: its buttons and check boxes each have their
        // own letter.
        for (QWidget *other : otherWindows(window)) {
            SCOPED_TRACE(other->objectName().toStdString());
            const QStringList otherCaptions = windowCaptions(other);
            EXPECT_EQ(clashes(otherCaptions), QStringList())
                << otherCaptions.join(u'|').toStdString();
            EXPECT_EQ(buttonsWithoutLetter(other), QStringList());
        }

        // Hints, status tips and the toolbar's captions are plain text.
        for (const QAction *action : window.findChildren<QAction *>()) {
            EXPECT_FALSE(action->toolTip().contains(u'&')) << action->toolTip().toStdString();
            EXPECT_FALSE(action->statusTip().contains(u'&')) << action->statusTip().toStdString();
        }
        for (const QWidget *w :
            window.findChild<QToolBar *>(QStringLiteral("tbMain"))->findChildren<QWidget *>()) {
            EXPECT_FALSE(w->accessibleName().contains(u'&')) << w->accessibleName().toStdString();
            EXPECT_FALSE(w->toolTip().contains(u'&')) << w->toolTip().toStdString();
        }
        closeWindow();
    }
}

// A "&" at the end or before a space marks no letter: a slip of the pen.
TEST(MnemonicsInFiles, NoMarkWithoutALetter)
{
    static const QRegularExpression stray(QStringLiteral("&(\\s|$)"));
    for (const char *language : Languages) {
        QFile file(QStringLiteral(QLN_SOURCE_DIR "/lang/") + QLatin1String(language)
            + QStringLiteral(".ini"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << language;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (QString line : lines) {
            line = line.trimmed();
            const qsizetype eq = line.indexOf(u'=');
            if (line.startsWith(u';') || eq < 0)
                continue;
            EXPECT_FALSE(stray.match(line.mid(eq + 1)).hasMatch())
                << language << ": " << line.toStdString();
        }
    }
}

} // namespace
