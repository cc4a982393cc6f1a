// The encoder menu of the settings panel: profiles, the settings clipboard
// of the four groups, the default settings.

#include "ui/settings/ConversionSettingsPanel.h"

#include "app/AppInfo.h"
#include "encoding/Profiles.h"
#include "encoding/SettingsDefaults.h"
#include "ui/common/PlainText.h"
#include "ui/settings/CommandLineWindow.h"
#include "ui/settings/ProfileComboBox.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QToolButton>

namespace {

// The three commands of one settings group, with their catalogue captions.
struct ClipboardGroup
{
    SettingsGroup group;
    const char *copy, *paste, *defaults;
    QString TMainModuleStrings::*copyText;
    QString TMainModuleStrings::*pasteText;
    QString TMainModuleStrings::*defaultText;
};

using M = TMainModuleStrings;
constexpr ClipboardGroup ClipboardGroups[] = {
    {SettingsGroup::Avi, "actCopyVideoSettings_Avi", "actPasteVideoSettings_Avi",
        "actDefaultVideoSettings_Avi", &M::CopyVideoSettings_AVI, &M::PasteVideoSettings_AVI,
        &M::DefaultVideoSettings_AVI},
    {SettingsGroup::Mpg, "actCopyVideoSettings_Mpg", "actPasteVideoSettings_Mpg",
        "actDefaultVideoSettings_Mpg", &M::CopyVideoSettings_MPG, &M::PasteVideoSettings_MPG,
        &M::DefaultVideoSettings_MPG},
    {SettingsGroup::Audio, "actCopyAudioSettings", "actPasteAudioSettings",
        "actDefaultAudioSettings", &M::CopyAudioSettings, &M::PasteAudioSettings,
        &M::DefaultAudioSettings},
    {SettingsGroup::Advanced, "actCopyAdvancedSettings", "actPasteAdvancedSettings",
        "actDefaultAdvancedSettings", &M::CopyAdvancedSettings, &M::PasteAdvancedSettings,
        &M::DefaultAdvancedSettings},
};

// The other commands of the encoder menu: name, caption, shortcut.
struct Command
{
    const char *name;
    QString TMainModuleStrings::*text;
    QKeySequence::StandardKey standardKey;
    const char *keys;
};
constexpr Command Commands[] = {
    {"actLoadProfile", &M::actLoadProfile, QKeySequence::UnknownKey, "Ctrl+P"},
    {"actLoadSelectedProfile", &M::actLoadSelectedProfile, QKeySequence::UnknownKey, nullptr},
    {"actSaveProfile", &M::actSaveProfile, QKeySequence::Save, nullptr},
    {"actSetDefaultEncoderSettings", &M::actSetDefaultEncoderSettings, QKeySequence::UnknownKey,
        nullptr},
    {"actShowCmdLine", &M::actShowCmdLine, QKeySequence::UnknownKey, "F2"},
};

} // namespace

void ConversionSettingsPanel::createActions()
{
    const auto add = [this](const char *name) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(name));
        m_actions.insert(action->objectName(), action);
        return action;
    };
    const auto separator = [this] {
        auto *action = new QAction(this);
        action->setSeparator(true);
        m_menuActions << action;
    };
    for (const Command &c : Commands) {
        QAction *action = add(c.name);
        action->setShortcut(
            c.keys ? QKeySequence(QLatin1String(c.keys)) : QKeySequence(c.standardKey));
    }
    connect(action("actLoadProfile"), &QAction::triggered, this,
        &ConversionSettingsPanel::chooseProfileToLoad);
    // The chosen entry again: a profile file edited meanwhile, or settings
    // changed since it was chosen.
    connect(action("actLoadSelectedProfile"), &QAction::triggered, this,
        [this] { onProfileChosen(m_parts.cbProfileNew->currentIndex()); });
    m_parts.btnLoadSelectedProfile->setDefaultAction(action("actLoadSelectedProfile"));
    connect(action("actSaveProfile"), &QAction::triggered, this,
        &ConversionSettingsPanel::chooseProfileToSave);
    connect(action("actSetDefaultEncoderSettings"), &QAction::triggered, this,
        &ConversionSettingsPanel::setDefaultEncoderSettings);
    connect(action("actShowCmdLine"), &QAction::triggered, this,
        &ConversionSettingsPanel::toggleCommandLine);

    m_menuActions << action("actLoadProfile") << action("actLoadSelectedProfile")
                  << action("actSaveProfile");
    separator();
    m_menuActions << action("actSetDefaultEncoderSettings");
    QHash<SettingsGroup, QList<QAction *>> byGroup;
    for (const ClipboardGroup &g : ClipboardGroups) {
        const SettingsGroup group = g.group;
        QAction *copy = add(g.copy);
        QAction *paste = add(g.paste);
        QAction *defaults = add(g.defaults);
        connect(copy, &QAction::triggered, this, [this, group] { copyGroup(group); });
        connect(paste, &QAction::triggered, this, [this, group] { pasteGroup(group); });
        connect(defaults, &QAction::triggered, this, [this, group] { defaultGroup(group); });
        separator();
        m_menuActions << copy << paste << defaults;
        byGroup.insert(group, {copy, paste, defaults});
    }
    separator();
    m_menuActions << action("actShowCmdLine");
    // The shortcuts work wherever the panel is, also before a menu holds them.
    addActions(m_menuActions);
    // F2 closes the window again from inside it.
    m_cmdLine->addAction(action("actShowCmdLine"));
    // F2 in any window of the program, as F10 and F11.
    action("actShowCmdLine")->setShortcutContext(Qt::ApplicationShortcut);

    const auto menu = [this](QToolButton *button, const char *name) {
        auto *popup = new QMenu(button);
        popup->setObjectName(QLatin1String(name));
        button->setMenu(popup);
        return popup;
    };
    QMenu *video = menu(m_parts.sbtnVideoSettings, "popVideoSettings");
    video->addActions(byGroup.value(SettingsGroup::Avi));
    video->addSeparator();
    video->addActions(byGroup.value(SettingsGroup::Mpg));
    menu(m_parts.sbtnAudioSettings, "popAudioSettings")
        ->addActions(byGroup.value(SettingsGroup::Audio));
    menu(m_parts.sbtnAdvancedSettings, "popAdvancedSettings")
        ->addActions(byGroup.value(SettingsGroup::Advanced));
    updateCommandStates();
}

QList<QAction *> ConversionSettingsPanel::encoderMenuActions() const
{
    return m_menuActions;
}

QAction *ConversionSettingsPanel::action(QAnyStringView name) const
{
    return m_actions.value(name.toString());
}

void ConversionSettingsPanel::applyCommandCaptions()
{
    for (const Command &c : Commands) {
        QAction *a = action(c.name);
        a->setText(m_strings.Main.*c.text);
        a->setToolTip(WithoutMnemonic(m_strings.Main.*c.text));
    }
    // The clipboard commands take their entry as caption only.
    for (const ClipboardGroup &g : ClipboardGroups) {
        action(g.copy)->setText(m_strings.Main.*g.copyText);
        action(g.paste)->setText(m_strings.Main.*g.pasteText);
        action(g.defaults)->setText(m_strings.Main.*g.defaultText);
    }
}

void ConversionSettingsPanel::refreshProfiles()
{
    m_parts.cbProfileNew->setProfiles(
        GetProfiles(m_params.ProfilesDir, m_params.LastProfileFile), m_strings);
}

void ConversionSettingsPanel::onProfileChosen(int entry)
{
    if (entry == 1) {
        setDefaultEncoderSettings();
        return;
    }
    const QString file = ProfileFileForEntry(
        entry, m_parts.cbProfileNew->profiles(), m_params.ProfilesDir, m_params.LastProfileFile);
    if (!file.isEmpty())
        loadProfile(file);
}

bool ConversionSettingsPanel::loadProfile(const QString &file)
{
    EncodingSettings loaded = settings();
    if (!LoadProfile(file, loaded, m_strings, m_defaultVideoCodec))
        return false;
    edit([&](EncodingSettings &s) { s = loaded; });
    showSettings();
    Q_EMIT settingsChanged();
    return true;
}

bool ConversionSettingsPanel::saveProfileAs(const QString &file)
{
    QString error;
    if (!SaveProfile(file, settings(), m_strings, &error)) {
        ShowPlainMessage(this, QMessageBox::Warning, QLatin1String(AppInfo::ProgramName), error);
        return false;
    }
    if (IsInProfilesDir(file, m_params.ProfilesDir)) {
        refreshProfiles();
        m_parts.cbProfileNew->select(ProfileEntryAfterSave(m_parts.cbProfileNew->profiles(), file));
    }
    return true;
}

void ConversionSettingsPanel::chooseProfileToLoad()
{
    const QString file
        = QFileDialog::getOpenFileName(this, WithoutMnemonic(m_strings.Main.actLoadProfile),
            m_params.ProfilesDir, m_strings.Main.dlgOpenProfile_Filter);
    if (!file.isEmpty())
        loadProfile(file);
}

void ConversionSettingsPanel::chooseProfileToSave()
{
    QFileDialog dialog(this, WithoutMnemonic(m_strings.Main.actSaveProfile), m_params.ProfilesDir,
        m_strings.Main.dlgSaveProfile_Filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        saveProfileAs(dialog.selectedFiles().constFirst());
}

void ConversionSettingsPanel::setDefaultEncoderSettings()
{
    edit([this](EncodingSettings &s) { SetDefaultParams(s, m_strings, m_defaultVideoCodec); });
    m_parts.cbProfileNew->select(1);
    showSettings();
    Q_EMIT settingsChanged();
}

void ConversionSettingsPanel::copyGroup(SettingsGroup group)
{
    switch (group) {
    case SettingsGroup::Avi:
        m_clipboard.CopyParams_AVI = CopyVideoSettings_Avi(settings(), m_strings);
        break;
    case SettingsGroup::Mpg:
        m_clipboard.CopyParams_MPG = CopyVideoSettings_Mpg(settings(), m_strings);
        break;
    case SettingsGroup::Audio:
        m_clipboard.CopyParams_Audio = CopyAudioSettings(settings(), m_strings);
        break;
    case SettingsGroup::Advanced:
        m_clipboard.CopyParams_Advanced = CopyAdvancedSettings(settings());
        break;
    case SettingsGroup::None:
        break;
    }
    updateCommandStates();
}

void ConversionSettingsPanel::pasteGroup(SettingsGroup group)
{
    const SettingsClipboard &c = m_clipboard;
    EncodingSettings s = settings();
    switch (group) {
    case SettingsGroup::Avi:
        if (!c.CopyParams_AVI)
            return;
        PasteVideoSettings_Avi(s, *c.CopyParams_AVI, m_strings);
        break;
    case SettingsGroup::Mpg:
        if (!c.CopyParams_MPG)
            return;
        PasteVideoSettings_Mpg(s, *c.CopyParams_MPG, m_strings);
        break;
    case SettingsGroup::Audio:
        if (!c.CopyParams_Audio)
            return;
        PasteAudioSettings(s, *c.CopyParams_Audio, m_strings);
        break;
    case SettingsGroup::Advanced:
        if (!c.CopyParams_Advanced)
            return;
        PasteAdvancedSettings(s, *c.CopyParams_Advanced, int(m_lists.cbAudioTrackNo.size()));
        break;
    case SettingsGroup::None:
        return;
    }
    edit([&](EncodingSettings &record) { record = s; });
    showSettings();
    Q_EMIT settingsChanged();
}

void ConversionSettingsPanel::defaultGroup(SettingsGroup group)
{
    EncodingSettings s = settings();
    switch (group) {
    case SettingsGroup::Avi:
        DefaultVideoSettings_Avi(s, m_strings, m_defaultVideoCodec);
        break;
    case SettingsGroup::Mpg:
        DefaultVideoSettings_Mpg(s, m_strings);
        break;
    case SettingsGroup::Audio:
        SetDefaultAudioSettings(s, m_strings);
        break;
    case SettingsGroup::Advanced:
        SetDefaultAdvancedSettings(s);
        break;
    case SettingsGroup::None:
        return;
    }
    edit([&](EncodingSettings &record) { record = s; });
    showSettings();
    Q_EMIT settingsChanged();
}

void ConversionSettingsPanel::updateCommandStates()
{
    for (QAction *a : std::as_const(m_actions))
        a->setEnabled(!m_running);
    const bool filled[]
        = {m_clipboard.CopyParams_AVI.has_value(), m_clipboard.CopyParams_MPG.has_value(),
            m_clipboard.CopyParams_Audio.has_value(), m_clipboard.CopyParams_Advanced.has_value()};
    for (size_t i = 0; i < std::size(ClipboardGroups); ++i)
        action(ClipboardGroups[i].paste)->setEnabled(!m_running && filled[i]);
}
