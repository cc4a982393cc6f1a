#include "ui/settings/ConversionSettingsPanel.h"
#include "i18n/AppStrings.h"

#include "analysis/FFmpegProbe.h"
#include "app/AppInfo.h"
#include "app/FileLocations.h"
#include "conversion/PlannedCommands.h"
#include "encoding/AudioParams.h"
#include "encoding/CommandAssembly.h"
#include "encoding/EnableRules.h"
#include "encoding/FFmpegHelp.h"
#include "encoding/InvalidSettings.h"
#include "encoding/MessageSink.h"
#include "encoding/OutputName.h"
#include "encoding/PieceContext.h"
#include "encoding/Profiles.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLanguage.h"
#include "encoding/SettingsLists.h"
#include "encoding/SettingsTable.h"
#include "encoding/SettingsTexts.h"
#include "ui/common/MonospaceFont.h"
#include "ui/common/PlainText.h"
#include "ui/settings/CommandLineWindow.h"
#include "ui/settings/ListColors.h"
#include "ui/settings/ProfileComboBox.h"
#include "ui/settings/SettingWidgets.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QUrl>

namespace {

// Messages for the user, collected instead of shown: a refresh caused by
// typing never opens a message box.
class CollectingSink : public IMessageSink
{
public:
    void warning(const QString &text) override { messages << text; }
    QStringList messages;
};

// Widgets whose caption is not the catalogue entry of their own name: the
// entry of the nearest name, or none for a text derived from a value.
struct CaptionException
{
    const char *widget;
    const char *entry; // null: no caption from the catalogue
};
constexpr CaptionException CaptionExceptions[] = {
    {"lblAudioVolumeInfo", "Main.lblAudioVolume"},
    {"lblAudioVolume", nullptr},
    {"lblMpgInfo", nullptr},
    {"lblBrightnessValue", nullptr},
    {"lblSaturationValue", nullptr},
    {"lblResWidth", "Main.edResWidth"},
    {"lblResHeight", "Main.edResHeight"},
    {"lblCropTop", "Main.edCropTop"},
    {"lblCropBottom", "Main.edCropBottom"},
    {"lblCropLeft", "Main.edCropLeft"},
    {"lblCropRight", "Main.edCropRight"},
    {"lblAudioTrackNo", "Main.gbAudioTrackNo"},
    {"lblInterlacing", "Main.gbInterlacing"},
};

// Controls without a caption of their own, named for screen readers by the
// caption beside or above them.
struct NamedBy
{
    const char *control;
    const char *caption;
};
constexpr NamedBy NamedByCaption[] = {
    {"tbBrightness", "chBrightness"},
    {"tbSaturation", "chSaturation"},
    {"cbRotate", "chRotate"},
    {"cbConvertColors", "chConvertColors"},
    {"cbVideoTag", "chVideoFourcc"},
    {"cbResolution", "gbResolution"},
};

QString captionEntry(const QString &widget)
{
    for (const CaptionException &e : CaptionExceptions)
        if (widget == QLatin1String(e.widget))
            return e.entry ? QLatin1String(e.entry) : QString();
    return QStringLiteral("Main.") + widget;
}

QString displayText(QString message)
{
    return message.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QString programName()
{
    return QLatin1String(AppInfo::ProgramName);
}

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

ConversionSettingsPanel::ConversionSettingsPanel(QWidget *parent)
    : QWidget(parent)
    , m_params(DefaultAppParams(QString()))
    , m_controls(new SettingWidgets(this))
    , m_cmdLine(nullptr)
    , m_jobs(new BackgroundJobs(JobKinds, this))
{
    setObjectName(QStringLiteral("pnConversionSettingsPanel"));
    m_settings = DefaultEncodingSettings(m_strings, m_defaultVideoCodec);
    m_lists = BuildEncodingLists(m_strings, m_params.ResolutionTxt, m_params.FourccTagsFile);

    m_parts = BuildSettingsPanel(this, *m_controls);
    for (QWidget *w : findChildren<QWidget *>())
        if (!w->objectName().isEmpty())
            m_named.insert(w->objectName(), w);

    auto *resolution = m_controls->widget<QComboBox>("cbResolution");
    resolution->setItemDelegate(new ListEntryDelegate(resolution));
    m_cmdLine = new TFormCmdLine(this);
    m_cmdLine->setMonospaceFont(MonospaceFont({}));
    createActions();

    connect(m_controls, &SettingWidgets::edited, this, &ConversionSettingsPanel::onEdited);
    connect(m_parts.cbProfileNew, &QComboBox::activated, this,
        &ConversionSettingsPanel::onProfileChosen);
    connect(
        m_parts.expandButton, &QToolButton::toggled, this, &ConversionSettingsPanel::setExpanded);
    connect(m_parts.btnInfoAudioBitrates, &QToolButton::clicked, this,
        &ConversionSettingsPanel::openAudioBitrateReport);
    connect(
        m_parts.btnFFParams, &QToolButton::clicked, this, &ConversionSettingsPanel::openFFmpegHelp);
    connect(m_parts.btnInfoFourcc, &QToolButton::clicked, this,
        [] { QDesktopServices::openUrl(QUrl(QLatin1String(AppInfo::VideoTagReferenceUrl))); });
    connect(m_cmdLine, &TFormCmdLine::shellCommandRequested, this,
        &ConversionSettingsPanel::copyShellCommand);

    setExpanded(true);
    applyCaptions();
    m_controls->setItems(m_strings, m_lists);
    showSettings();
}

ConversionSettingsPanel::~ConversionSettingsPanel()
{
    // Before the members the results would reach: a result still on its way
    // is dropped with the jobs.
    delete m_jobs;
}

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

void ConversionSettingsPanel::setParams(const TAppParams &params)
{
    const bool otherFFmpeg
        = params.ffmpeg != m_params.ffmpeg || (!m_jobs->isPending(EncodersJob) && !m_encoders);
    m_params = params;
    m_lists.cbResolution = ResolutionItems(m_strings, params.ResolutionTxt);
    m_lists.cbVideoTag = VideoTagItems(params.FourccTagsFile);
    m_controls->setItems(m_strings, m_lists);
    showSettings();

    m_cmdLine->setMonospaceFont(MonospaceFont(params.MonospaceFont));

    if (otherFFmpeg) {
        // Another FFmpeg's answer would be stale.
        m_jobs->cancel(EncodersJob);
        const QString ffmpeg = params.ffmpeg;
        if (!ffmpeg.isEmpty())
            m_jobs->run(
                EncodersJob,
                [ffmpeg](BackgroundJob &job) { return QueryEncoders(ffmpeg, &job.runner()); },
                [this](std::optional<EncoderSet> encoders) {
                    m_encoders = std::move(encoders);
                    refreshPreview();
                });
    }
    refreshProfiles();
}

void ConversionSettingsPanel::setDefaultVideoCodec(int entry)
{
    m_defaultVideoCodec = entry;
}

void ConversionSettingsPanel::SetLang(const TAppStrings &strings)
{
    const TAppStrings old = m_strings;
    m_strings = strings;
    const EncodingSettings before = m_settings;
    ApplyLanguageChange(m_settings, m_lists, old, m_strings);
    applyCaptions();
    m_controls->setItems(m_strings, m_lists);
    m_parts.cbProfileNew->SetLang(m_strings);
    showSettings();
    if (m_settings != before)
        Q_EMIT settingsChanged();
}

void ConversionSettingsPanel::applyCaptions()
{
    for (auto it = m_named.cbegin(); it != m_named.cend(); ++it) {
        QWidget *w = it.value();
        const bool captioned = qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)
            || qobject_cast<QGroupBox *>(w);
        if (!captioned)
            continue;
        const QString *text = m_strings.find(captionEntry(it.key()));
        if (!text)
            continue;
        auto *tool = qobject_cast<QToolButton *>(w);
        if (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly) {
            // An icon button: the entry is its hint, and what a screen
            // reader calls it.
            const QString plain = WithoutMnemonic(*text);
            tool->setToolTip(plain);
            tool->setAccessibleName(plain);
            tool->setAccessibleDescription(plain);
        } else if (auto *l = qobject_cast<QLabel *>(w))
            l->setText(*text);
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            b->setText(*text);
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            g->setTitle(*text);
    }
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
    for (const NamedBy &n : NamedByCaption)
        if (QWidget *w = m_named.value(QLatin1String(n.control)))
            if (const QString *text = m_strings.find(captionEntry(QLatin1String(n.caption))))
                w->setAccessibleName(WithoutMnemonic(*text));
    // A section's drop-down button is named by the section's title.
    const std::pair<QToolButton *, QString> sections[]
        = {{m_parts.sbtnVideoSettings, m_strings.Main.lblOutputFormatVideoSettings},
            {m_parts.sbtnAudioSettings, m_strings.Main.lblAudioSettings},
            {m_parts.sbtnAdvancedSettings, m_strings.Main.lblAdvancedSettings}};
    for (const auto &[button, title] : sections) {
        button->setToolTip(title);
        button->setAccessibleName(WithoutMnemonic(title));
        button->setAccessibleDescription(title);
    }
    m_cmdLine->SetLang(m_strings);
}

void ConversionSettingsPanel::setSettings(const EncodingSettings &settings)
{
    m_settings = settings;
    showSettings();
}

void ConversionSettingsPanel::setOutputOptions(const EncodingSettings &settings)
{
    for (const SettingDescriptor &d : SettingsTable())
        if (!m_controls->widget(QLatin1String(d.control)))
            d.copy(settings, m_settings);
    settingsUpdated();
}

void ConversionSettingsPanel::setLists(const EncodingLists &lists)
{
    m_lists = lists;
    m_controls->setItems(m_strings, m_lists);
    showSettings();
}

void ConversionSettingsPanel::onEdited(const SettingDescriptor *d)
{
    m_controls->read(*d, m_settings);
    settingsUpdated();
    Q_EMIT settingsChanged();
}

void ConversionSettingsPanel::showSettings()
{
    NormalizeListIndexes(m_settings, m_lists);
    if (auto *resolution = m_controls->widget<QComboBox>("cbResolution"))
        ApplyResolutionEntryLook(resolution);
    m_controls->show(m_settings);
    settingsUpdated();
}

void ConversionSettingsPanel::settingsUpdated()
{
    applyEnableRules();
    markInvalidSettings();
    refreshPreview();
}

void ConversionSettingsPanel::applyEnableRules()
{
    const EnableState state = EvaluateEnableRules(m_settings);
    for (const EnableFlag &f : EnableFlags()) {
        QWidget *w = m_named.value(QLatin1String(f.control));
        if (!w)
            continue;
        w->setEnabled(state.*f.enabled);
        if (f.visible)
            w->setVisible(state.*f.visible);
    }
    const auto setLabel = [this](const char *name, const QString &text) {
        if (auto *label = qobject_cast<QLabel *>(m_named.value(QLatin1String(name))))
            label->setText(text);
    };
    setLabel("lblMpgInfo", MpgInfoText(m_settings.cbMpgVideo, m_strings));
    setLabel("lblAudioVolume", AudioVolumeLabel(m_settings.tbAudioVolume));
    setLabel("lblBrightnessValue", TrackBarValueText(m_settings.tbBrightness));
    setLabel("lblSaturationValue", TrackBarValueText(m_settings.tbSaturation));
}

PieceContext ConversionSettingsPanel::context(IMessageSink *sink) const
{
    PieceContext ctx(m_settings, m_lists, m_strings, m_info);
    ctx.messages = sink;
    ctx.encoders = m_encoders ? &*m_encoders : nullptr;
    return ctx;
}

void ConversionSettingsPanel::markInvalidSettings()
{
    const QHash<QString, QString> invalid
        = FindInvalidSettings(m_settings, m_lists, m_strings, m_info);
    const QIcon warningIcon = QIcon::fromTheme(
        QStringLiteral("dialog-warning"), style()->standardIcon(QStyle::SP_MessageBoxWarning));
    for (const SettingDescriptor *d : m_controls->settings()) {
        auto *box = m_controls->widget<QComboBox>(QLatin1String(d->control));
        if (!box || !box->lineEdit())
            continue;
        const QString message = displayText(invalid.value(QLatin1String(d->control)));
        QLineEdit *edit = box->lineEdit();
        auto *mark = edit->findChild<QAction *>(QStringLiteral("invalidMark"));
        if (!mark && !message.isEmpty()) {
            mark = new QAction(warningIcon, QString(), edit);
            mark->setObjectName(QStringLiteral("invalidMark"));
            edit->addAction(mark, QLineEdit::TrailingPosition);
        }
        if (mark) {
            mark->setVisible(!message.isEmpty());
            mark->setToolTip(PlainToolTip(message));
        }
        box->setToolTip(PlainToolTip(message));
        box->setProperty("invalid", !message.isEmpty());
    }
}

void ConversionSettingsPanel::refreshPreview()
{
    m_cmdLine->setShellCommandAvailable(!m_selectedPath.isEmpty() && m_analysed);
    if (!m_cmdLine->isVisible())
        return;
    CollectingSink sink;
    m_cmdLine->setText(PreviewText(context(&sink), m_selectedPath));
}

void ConversionSettingsPanel::toggleCommandLine()
{
    if (m_cmdLine->isVisible()) {
        m_cmdLine->close();
        return;
    }
    CollectingSink sink;
    m_cmdLine->SetLang(m_strings);
    m_cmdLine->setText(PreviewText(context(&sink), m_selectedPath));
    if (!m_cmdLinePlaced) {
        m_cmdLinePlaced = true;
        const QRect main = window()->frameGeometry();
        m_cmdLine->move(main.center() - m_cmdLine->rect().center());
    }
    m_cmdLine->show();
    m_cmdLine->raise();
    m_cmdLine->activateWindow();
    refreshPreview();
    // The command itself tells what is wrong, as a run would.
    showMessages(sink.messages);
}

void ConversionSettingsPanel::showMessages(const QStringList &messages)
{
    for (const QString &message : messages)
        ShowPlainMessage(this, QMessageBox::Warning, programName(), displayText(message));
}

void ConversionSettingsPanel::copyShellCommand()
{
    if (m_selectedPath.isEmpty())
        return;
    CollectingSink sink;
    // The name the run would choose now, without creating the file.
    OutputNamePlanner names(
        m_settings, m_strings, &sink, OutputNamePlanner::Plan, {m_selectedPath});
    const OutputPath output = names.next(0);
    if (output.action == OutputPath::Failed) {
        showMessages(sink.messages);
        return;
    }
    if (output.action == OutputPath::Skip) {
        ShowPlainMessage(this, QMessageBox::Information, programName(),
            m_strings.Main.Skipped + QStringLiteral(":\n") + output.path);
        return;
    }
    const PlannedCommands planned
        = PlanFileCommands(context(&sink), m_params.ffmpeg, m_selectedPath, output.path);
    if (!planned.commands.ok) {
        showMessages(sink.messages);
        return;
    }
    QGuiApplication::clipboard()->setText(planned.shellTexts.join(u'\n'));
}

void ConversionSettingsPanel::setSelectedFile(const QString &path)
{
    // A later selection makes the earlier one's answer stale.
    m_jobs->cancel(ProbeJob);
    m_selectedPath = path;
    m_analysed = false;
    ClearVideoFileInfo(m_info);
    if (path.isEmpty()) {
        settingsUpdated();
        return;
    }
    const QString ffmpeg = m_params.ffmpeg, mediaInfo = m_params.MediaInfoDll;
    m_jobs->run(
        ProbeJob,
        [path, ffmpeg, mediaInfo](BackgroundJob &job) {
            auto info = std::make_shared<TVideoFileInfo>();
            try {
                ProbeWithFFmpeg(path, ffmpeg, mediaInfo, *info, &job.runner());
            } catch (const ConsoleRunError &) {
                // No FFmpeg: the file is described by nothing but its name.
                ClearVideoFileInfo(*info);
            }
            return info;
        },
        [this](std::shared_ptr<TVideoFileInfo> info) { onProbed(info); });
}

void ConversionSettingsPanel::onProbed(const std::shared_ptr<TVideoFileInfo> &info)
{
    m_info = *info;
    m_analysed = true;
    const int track = m_settings.cbAudioTrackNo;
    UpdateCbAudioTrackNo(m_settings, m_lists, m_info, m_strings);
    m_controls->setItems(m_strings, m_lists);
    m_controls->show(*FindSetting("cbAudioTrackNo"), m_settings);
    settingsUpdated();
    if (m_settings.cbAudioTrackNo != track)
        Q_EMIT settingsChanged();
    Q_EMIT selectedFileAnalysed(m_selectedPath);
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
    if (!LoadProfile(file, m_settings, m_strings, m_defaultVideoCodec))
        return false;
    showSettings();
    Q_EMIT settingsChanged();
    return true;
}

bool ConversionSettingsPanel::saveProfileAs(const QString &file)
{
    QString error;
    if (!SaveProfile(file, m_settings, m_strings, &error)) {
        ShowPlainMessage(this, QMessageBox::Warning, programName(), error);
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
    SetDefaultParams(m_settings, m_strings, m_defaultVideoCodec);
    m_parts.cbProfileNew->select(1);
    showSettings();
    Q_EMIT settingsChanged();
}

void ConversionSettingsPanel::copyGroup(SettingsGroup group)
{
    switch (group) {
    case SettingsGroup::Avi:
        m_clipboard.CopyParams_AVI = CopyVideoSettings_Avi(m_settings, m_strings);
        break;
    case SettingsGroup::Mpg:
        m_clipboard.CopyParams_MPG = CopyVideoSettings_Mpg(m_settings, m_strings);
        break;
    case SettingsGroup::Audio:
        m_clipboard.CopyParams_Audio = CopyAudioSettings(m_settings, m_strings);
        break;
    case SettingsGroup::Advanced:
        m_clipboard.CopyParams_Advanced = CopyAdvancedSettings(m_settings);
        break;
    case SettingsGroup::None:
        break;
    }
    updateCommandStates();
}

void ConversionSettingsPanel::pasteGroup(SettingsGroup group)
{
    const SettingsClipboard &c = m_clipboard;
    switch (group) {
    case SettingsGroup::Avi:
        if (!c.CopyParams_AVI)
            return;
        PasteVideoSettings_Avi(m_settings, *c.CopyParams_AVI, m_strings);
        break;
    case SettingsGroup::Mpg:
        if (!c.CopyParams_MPG)
            return;
        PasteVideoSettings_Mpg(m_settings, *c.CopyParams_MPG, m_strings);
        break;
    case SettingsGroup::Audio:
        if (!c.CopyParams_Audio)
            return;
        PasteAudioSettings(m_settings, *c.CopyParams_Audio, m_strings);
        break;
    case SettingsGroup::Advanced:
        if (!c.CopyParams_Advanced)
            return;
        PasteAdvancedSettings(
            m_settings, *c.CopyParams_Advanced, int(m_lists.cbAudioTrackNo.size()));
        break;
    case SettingsGroup::None:
        return;
    }
    showSettings();
    Q_EMIT settingsChanged();
}

void ConversionSettingsPanel::defaultGroup(SettingsGroup group)
{
    switch (group) {
    case SettingsGroup::Avi:
        DefaultVideoSettings_Avi(m_settings, m_strings, m_defaultVideoCodec);
        break;
    case SettingsGroup::Mpg:
        DefaultVideoSettings_Mpg(m_settings, m_strings);
        break;
    case SettingsGroup::Audio:
        SetDefaultAudioSettings(m_settings, m_strings);
        break;
    case SettingsGroup::Advanced:
        SetDefaultAdvancedSettings(m_settings);
        break;
    case SettingsGroup::None:
        return;
    }
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

void ConversionSettingsPanel::setRunning(bool running)
{
    m_running = running;
    m_parts.body->setEnabled(!running);
    m_parts.cbProfileNew->setEnabled(!running);
    updateCommandStates();
}

int ConversionSettingsPanel::hiddenHeight() const
{
    return m_parts.body->isVisible() ? m_parts.sboxAdvanced->verticalScrollBar()->maximum() : 0;
}

bool ConversionSettingsPanel::isExpanded() const
{
    return m_parts.expandButton->isChecked();
}

void ConversionSettingsPanel::setExpanded(bool expanded)
{
    const bool changed = expanded != !m_parts.body->isHidden();
    {
        const QSignalBlocker blocker(m_parts.expandButton);
        m_parts.expandButton->setChecked(expanded);
    }
    m_parts.expandButton->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    m_parts.body->setVisible(expanded);
    // Collapsed, the header alone: the list above takes the room.
    setSizePolicy(QSizePolicy::Preferred, expanded ? QSizePolicy::Preferred : QSizePolicy::Maximum);
    if (changed)
        Q_EMIT expandedChanged(expanded);
}

void ConversionSettingsPanel::openAudioBitrateReport()
{
    const QString file = WriteAudioBitrateReportFile(m_params.AudioBitratesTxt, UserDataDir());
    if (!file.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void ConversionSettingsPanel::openFFmpegHelp()
{
    if (m_jobs->isPending(HelpJob))
        return; // still asking FFmpeg
    const QString ffmpeg = m_params.ffmpeg, cache = UserCacheDir();
    m_jobs->run(
        HelpJob,
        [ffmpeg, cache](
            BackgroundJob &job) { return ProvideFFmpegHelpFile(ffmpeg, cache, &job.runner()); },
        [](QString file) {
            if (!file.isEmpty())
                QDesktopServices::openUrl(QUrl::fromLocalFile(file));
        });
}

void ConversionSettingsPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        if (auto *resolution = m_controls->widget<QComboBox>("cbResolution"))
            ApplyResolutionEntryLook(resolution);
}
