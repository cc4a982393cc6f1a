#include "conversion/PowerControl.h"

#include "conversion/ConversionFrontEnd.h"
#include "encoding/SettingsLists.h"

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

void RunAfterConversionAction(int action, IConversionFrontEnd &frontEnd, IPowerControl *power)
{
    switch (action) {
    case AfterConversion::CloseApplication:
        frontEnd.closeApplication();
        break;
    case AfterConversion::CloseWindows: {
        // Other programs may hold unsaved work: the user can still cancel.
        if (!frontEnd.confirmPowerOff())
            break;
        QString error;
        if (!power)
            error = QStringLiteral("The computer cannot be switched off from here.");
        else if (!power->powerOff(&error) && error.isEmpty())
            error = QStringLiteral("The computer could not be switched off.");
        if (!error.isEmpty())
            frontEnd.showError(error);
        frontEnd.closeApplication();
        break;
    }
    default:
        break;
    }
}
