#pragma once

#include <QString>

// Where the core sends what the user must be told (an invalid typed value, a
// folder that cannot be created). The core never shows anything itself: the
// window turns a warning into a message box, the CLI into a line on standard
// error, the tests into a recorded entry.
class IMessageSink
{
public:
    virtual ~IMessageSink() = default;
    virtual void warning(const QString &text) = 0;
    // A setting whose typed value the builders cannot use, named by its
    // control ("cbAviVideoBitrate"), with the message a run shows for it. A
    // front end that marks the control overrides this; the others get the
    // text as a warning.
    virtual void invalidSetting(const char *control, const QString &text)
    {
        Q_UNUSED(control);
        warning(text);
    }
};
