#include "MainWindowFixture.h"

#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/info/FileInfoWindow.h"
#include "ui/main/AboutWindow.h"
#include "ui/options/OptionsWindow.h"
#include "ui/settings/CommandLineWindow.h"
#include "ui/settings/ConversionSettingsPanel.h"
#include "ui/tools/ToolsInfoWindow.h"
#include "ui/update/CheckUpdateWindow.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>

using AccessibleNames = MainWindowFixture;

namespace {

// Parts Qt builds inside a control: the control itself carries the name.
bool IsInternalPart(const QWidget *widget)
{
    // A tab widget hands its focus to its tab bar, whose tabs are named.
    if (widget->focusProxy())
        return true;
    // The line edit of an editable list or a spin box, and a list's popup.
    for (const QWidget *up = widget->parentWidget(); up; up = up->parentWidget())
        if (qobject_cast<const QComboBox *>(up) || qobject_cast<const QAbstractSpinBox *>(up))
            return true;
    // Scroll bars are announced as the scroll area's own parts.
    if (qobject_cast<const QScrollBar *>(widget))
        return true;
    // The tab bar's arrows when the tabs do not fit.
    if (qobject_cast<const QTabBar *>(widget->parentWidget()))
        return true;
    // The clear button of a line edit.
    if (qstrcmp(widget->metaObject()->className(), "QLineEditIconButton") == 0)
        return true;
    // An item view's viewport and the corner of a table.
    if (auto *view = qobject_cast<const QAbstractItemView *>(widget->parentWidget()))
        return widget == view->viewport() || !qobject_cast<const QAbstractItemView *>(widget);
    return false;
}

// Qt's accessibility looks for the label among the control's siblings only.
bool HasBuddyLabel(const QWidget *control)
{
    const QWidget *parent = control->parentWidget();
    const auto labels
        = parent ? parent->findChildren<QLabel *>(Qt::FindDirectChildrenOnly) : QList<QLabel *>();
    return std::any_of(labels.begin(), labels.end(),
        [&](const QLabel *label) { return label->buddy() == control && !label->text().isEmpty(); });
}

// What a screen reader names the control by. On Linux a list's Name is its
// current entry, which does not say what the list is for, so a list needs
// its own name or a label.
bool IsNamed(QWidget *control)
{
    if (!control->accessibleName().isEmpty() || HasBuddyLabel(control))
        return true;
    if (qobject_cast<QComboBox *>(control))
        return false;
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
    return face && !face->text(QAccessible::Name).trimmed().isEmpty();
}

// Every control that takes focus by Tab or click, shown or not, of the
// main window and every window it owns.
QStringList UnnamedControls(TFormMain &window)
{
    QStringList unnamed;
    const auto widgets = window.findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!(widget->focusPolicy() & (Qt::TabFocus | Qt::ClickFocus)) || IsInternalPart(widget))
            continue;
        if (!IsNamed(widget))
            unnamed << QStringLiteral("%1/%2 (%3)")
                           .arg(widget->window()->objectName(), widget->objectName(),
                               QLatin1String(widget->metaObject()->className()));
    }
    unnamed.sort();
    return unnamed;
}

} // namespace

// A screen reader says what each control is, in every window of the program,
// and the names follow the language.
TEST_F(AccessibleNames, EveryFocusableControlIsNamedInTheChosenLanguage)
{
    installLanguages({"English.ini", "German.ini"});
    writeSettings();
    TFormMain &window = open();
    ConversionSettingsPanel *settings = window.conversionSettings();
    for (QWidget *other : otherWindows(window)) {
        ASSERT_TRUE(other);
        other->show();
    }

    const QStringList unnamed = UnnamedControls(window);
    EXPECT_TRUE(unnamed.isEmpty()) << "Unnamed: " << unnamed.join(u", ").toStdString();

    // A section's drop-down button is called by the section's title.
    auto *section = settings->findChild<QWidget *>(QStringLiteral("sbtnVideoSettings"));
    auto *title = settings->findChild<QLabel *>(QStringLiteral("lblOutputFormatVideoSettings"));
    ASSERT_TRUE(section && title);
    const auto shownTitle = [&] { return title->text().remove(u'&'); };
    EXPECT_EQ(section->accessibleName(), shownTitle());
    const QString english = section->accessibleName();
    auto *languages = window.optionsWindow()->findChild<QComboBox *>(QStringLiteral("cbLanguage"));
    ASSERT_TRUE(languages);
    languages->setCurrentIndex(languages->findText(QStringLiteral("Deutsch")));
    EXPECT_NE(shownTitle(), english);
    EXPECT_EQ(section->accessibleName(), shownTitle());
    EXPECT_TRUE(UnnamedControls(window).isEmpty());
}
