#pragma once

#include <QByteArray>
#include <QString>

// The program's shortcut on the desktop: a freedesktop desktop entry
// "Quillon.desktop" that starts the program in its own folder.

inline constexpr auto DesktopShortcutFileName = "Quillon.desktop";

// One argument of an Exec value, quoted by the desktop entry rules: in
// double quotes when it holds a reserved character, with '"', '`', '$' and
// '\' escaped by a backslash inside them; '%' doubled so that it is not a
// field code. The string escapes of the file come on top (see below).
QString DesktopExecArgument(const QString &argument);
// A value of type string as it stands in the file: '\' doubled, line feed,
// tab and carriage return as "\n", "\t", "\r", a leading blank as "\s".
QString DesktopEntryEscape(const QString &value);

// The whole entry: Exec the program, Path its folder, Comment the title.
QByteArray DesktopEntryText(const QString &programPath, const QString &comment);

enum class DesktopShortcutResult { Created, AlreadyThere, Failed };

// Writes desktopDir/Quillon.desktop (the folder is created when missing),
// executable, and asks gio, where it is installed, to mark it trusted so that
// the desktop starts it without a question (a failure of that is ignored).
// An existing file is left as it is.
DesktopShortcutResult CreateDesktopShortcut(
    const QString &desktopDir, const QString &programPath, const QString &comment);
