#include "ui/settings/SettingsOwner.h"

SettingsOwner::SettingsOwner(const EncodingSettings &initial, QObject *parent)
    : QObject(parent)
    , m_settings(initial)
{ }

void SettingsOwner::set(const EncodingSettings &settings, const QObject *by)
{
    // An unchanged record tells nobody anything: a reader that writes back
    // what it was told (a normalised index) does not start another round.
    if (settings == m_settings)
        return;
    m_settings = settings;
    Q_EMIT changed(by);
}
