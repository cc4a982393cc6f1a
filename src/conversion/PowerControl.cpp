#include "conversion/PowerControl.h"

#include <QProcess>
#include <QStandardPaths>

bool SystemPowerControl::powerOff(QString *errorText)
{
    const auto fail = [&](const QString &text) {
        if (errorText)
            *errorText = text;
        return false;
    };
    const QString systemctl = QStandardPaths::findExecutable(QStringLiteral("systemctl"));
    if (systemctl.isEmpty())
        return fail(QStringLiteral("systemctl was not found"));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(systemctl, {QStringLiteral("poweroff")});
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return fail(QStringLiteral("systemctl poweroff did not answer"));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return fail(QString::fromLocal8Bit(process.readAll()).trimmed());
    return true;
}
