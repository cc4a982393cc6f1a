#pragma once

#include <QString>

class IConversionFrontEnd;

// The time a user has to cancel the power-off after a run.
inline constexpr int PowerOffCountdownSeconds = 60;

// Switches the computer off: the after-conversion action "Power off the computer".
// Behind an interface so that tests record the request instead.
class IPowerControl
{
public:
    virtual ~IPowerControl() = default;
    // True when the system accepted the request; otherwise errorText (when
    // given) says why.
    virtual bool powerOff(QString *errorText) = 0;
};

// Asks the service manager to power the machine off (systemctl poweroff,
// which goes through logind and its permission rules for a desktop user).
class SystemPowerControl : public IPowerControl
{
public:
    bool powerOff(QString *errorText) override;
};

// The after-conversion action of a run that converted every file: close
// the program, or switch the computer off after the user's last chance to
// cancel (power null: it cannot be switched off from here).
void RunAfterConversionAction(int action, IConversionFrontEnd &frontEnd, IPowerControl *power);
