#include "encoding/InvalidSettings.h"

#include "encoding/CommandAssembly.h"
#include "encoding/EncodingSettings.h"
#include "encoding/MessageSink.h"
#include "encoding/PieceContext.h"
#include "encoding/SettingsTable.h"
#include "i18n/AppStrings.h"

namespace {

class InvalidCollector : public IMessageSink
{
public:
    void warning(const QString &) override { }
    void invalidSetting(const char *control, const QString &text) override
    {
        found.insert(QLatin1String(control), text);
    }
    QHash<QString, QString> found;
};

} // namespace

QHash<QString, QString> FindInvalidSettings(const EncodingSettings &settings,
    const EncodingLists &lists, const TAppStrings &strings, const TVideoFileInfo &info)
{
    // A piece stops at its first invalid value, which hides the ones after
    // it. Each round reads the values found so far as "Auto" in a copy, so
    // that the next one shows up; every round finds a new setting or ends
    // the search, so there are at most as many rounds as settings.
    QHash<QString, QString> invalid;
    EncodingSettings trial = settings;
    for (size_t round = 0; round < SettingsTable().size(); ++round) {
        InvalidCollector sink;
        PieceContext ctx(trial, lists, strings, info);
        ctx.messages = &sink;
        PreviewText(ctx, {});
        bool found = false;
        for (auto it = sink.found.cbegin(); it != sink.found.cend(); ++it) {
            const SettingDescriptor *d = FindSetting(it.key());
            if (!d || invalid.contains(it.key()))
                continue;
            invalid.insert(it.key(), it.value());
            d->setText(trial, strings.Main.Auto);
            found = true;
        }
        if (!found)
            break;
    }
    return invalid;
}
