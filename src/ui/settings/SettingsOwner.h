#pragma once

#include "encoding/EncodingSettings.h"

#include <QObject>

// The one record of the encoding settings that the panels of a window
// share: each reads it here, writes it here and hears here of what the
// others wrote. Nobody keeps a copy in step by hand.
class SettingsOwner : public QObject
{
    Q_OBJECT
public:
    explicit SettingsOwner(const EncodingSettings &initial = {}, QObject *parent = nullptr);

    const EncodingSettings &settings() const { return m_settings; }
    // Replaces the record; changed follows when it differs. by names the
    // writer, which has shown the change already and need not react.
    void set(const EncodingSettings &settings, const QObject *by = nullptr);
    template <typename Edit> void update(Edit &&edit, const QObject *by = nullptr)
    {
        EncodingSettings s = m_settings;
        edit(s);
        set(s, by);
    }

Q_SIGNALS:
    void changed(const QObject *by);

private:
    EncodingSettings m_settings;
};
