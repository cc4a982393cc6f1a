#include "app/DesktopShortcut.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

bool isReservedInExec(QChar c)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return reserved.contains(c);
}

} // namespace

QString DesktopExecArgument(const QString &argument)
{
    bool quote = argument.isEmpty();
    QString body;
    body.reserve(argument.size() + 8);
    for (const QChar c : argument) {
        if (isReservedInExec(c))
            quote = true;
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            body += u'\\';
        if (c == u'%')
            body += u'%';
        body += c;
    }
    // Every character that needs an escape is reserved, so an argument with
    // an escape is always quoted.
    return quote ? u'"' + body + u'"' : body;
}

QString DesktopEntryEscape(const QString &value)
{
    QString out;
    out.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\t')
            out += QLatin1String("\\t");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else if (c == u' ' && i == 0)
            out += QLatin1String("\\s");
        else
            out += c;
    }
    return out;
}

QByteArray DesktopEntryText(const QString &programPath, const QString &comment)
{
    const QString folder = QFileInfo(programPath).absolutePath();
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Version=1.0\n"
                                  "Name=Quillon\n");
    text += QStringLiteral("Comment=") + DesktopEntryEscape(comment) + u'\n';
    // GLib looks for the program before it expands "%%" and so refuses a
    // program path holding '%'; started through env, the path is an argument
    // and is expanded as the rules say.
    const QString exec = programPath.contains(u'%')
        ? QStringLiteral("env ") + DesktopExecArgument(programPath)
        : DesktopExecArgument(programPath);
    text += QStringLiteral("Exec=") + DesktopEntryEscape(exec) + u'\n';
    text += QStringLiteral("Path=") + DesktopEntryEscape(folder) + u'\n';
    // The icon the package installs into the icon theme.
    text += QStringLiteral("Icon=quillon\n");
    text += QStringLiteral("Terminal=false\n");
    return text.toUtf8();
}

DesktopShortcutResult CreateDesktopShortcut(
    const QString &desktopDir, const QString &programPath, const QString &comment)
{
    if (desktopDir.isEmpty() || !QDir().mkpath(desktopDir))
        return DesktopShortcutResult::Failed;
    const QString path = QDir(desktopDir).filePath(QLatin1String(DesktopShortcutFileName));
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return DesktopShortcutResult::AlreadyThere;

    // NewOnly: a file that appeared meanwhile is never overwritten.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return DesktopShortcutResult::Failed;
    const QByteArray text = DesktopEntryText(programPath, comment);
    const bool written = file.write(text) == text.size();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        file.remove();
        return DesktopShortcutResult::Failed;
    }
    // Executable for whoever may read it: desktops start only such entries.
    QFileDevice::Permissions permissions = file.permissions() | QFileDevice::ExeOwner;
    if (permissions & QFileDevice::ReadGroup)
        permissions |= QFileDevice::ExeGroup;
    if (permissions & QFileDevice::ReadOther)
        permissions |= QFileDevice::ExeOther;
    file.setPermissions(permissions);

    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (!gio.isEmpty()) {
        // Without a metadata service gio only complains; that is no failure.
        QProcess mark;
        mark.setProgram(gio);
        mark.setArguments({QStringLiteral("set"), path, QStringLiteral("metadata::trusted"),
            QStringLiteral("true")});
        mark.setStandardOutputFile(QProcess::nullDevice());
        mark.setStandardErrorFile(QProcess::nullDevice());
        mark.startDetached();
    }
    return DesktopShortcutResult::Created;
}
