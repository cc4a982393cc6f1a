#pragma once

#include <QIcon>
#include <QStyle>

class QWidget;

// The desktop services the windows use: themed icons, opening pages, files
// and folders (always through QDesktopServices, so tests can record them
// with QDesktopServices::setUrlHandler), the file manager, stay-on-top.
namespace Desktop {

// Without a desktop that names an icon theme (a bare X session), icons are
// looked up in a common freedesktop theme before the built-in ones.
void useCommonIconThemeAsFallback();
// The icon of the desktop's theme, else the style's built-in one: a
// toolbar is never blank.
QIcon themeIcon(const QString &name, QStyle::StandardPixmap fallback);
// The same glyph in one colour that follows the palette (PaletteTintedIcon):
// the theme's one-colour (symbolic) variant where it has one.
QIcon tintedThemeIcon(const QString &name, QStyle::StandardPixmap fallback);

void openWebPage(const QString &url);
void openFolder(const QString &folder);
// A local file, with the desktop's program for its type.
void openFile(const QString &file);
// The file manager shows the file's folder with the file selected
// (org.freedesktop.FileManager1.ShowItems); without one that answers, the
// folder is opened.
void showFileInFolder(const QString &file);

// Turns the window's stay-on-top hint on or off. Changing window flags
// hides a window, so a visible one is shown again.
void setStaysOnTop(QWidget *window, bool on);

} // namespace Desktop
