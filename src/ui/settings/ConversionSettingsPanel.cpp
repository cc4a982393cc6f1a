#include "ui/settings/ConversionSettingsPanel.h"

#include "analysis/FFmpegProbe.h"
#include "app/AppInfo.h"
#include "app/FileLocations.h"
#include "encoding/AudioParams.h"
#include "encoding/EnableRules.h"
#include "encoding/FFmpegHelp.h"
#include "encoding/PieceContext.h"
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
#include "ui/settings/SettingsOwner.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QUrl>

namespace {

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

} // namespace

ConversionSettingsPanel::ConversionSettingsPanel(QWidget *parent)
    : ConversionSettingsPanel(nullptr, parent)
{ }

ConversionSettingsPanel::ConversionSettingsPanel(SettingsOwner *owner, QWidget *parent)
    : QWidget(parent)
    , m_params(DefaultAppParams(QString()))
    , m_owner(owner)
    , m_controls(new SettingWidgets(this))
    , m_cmdLine(nullptr)
    , m_jobs(new BackgroundJobs(JobKinds, this))
{
    setObjectName(QStringLiteral("pnConversionSettingsPanel"));
    if (!m_owner)
        m_owner = new SettingsOwner(DefaultEncodingSettings(m_strings, m_defaultVideoCodec), this);
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
    // What the output options (or anyone else) wrote; this panel's own
    // writes are shown already.
    connect(m_owner, &SettingsOwner::changed, this, [this](const QObject *by) {
        if (by != this)
            showSettings();
    });

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
    const EncodingSettings before = settings();
    edit([&](EncodingSettings &s) { ApplyLanguageChange(s, m_lists, old, m_strings); });
    applyCaptions();
    m_controls->setItems(m_strings, m_lists);
    m_parts.cbProfileNew->SetLang(m_strings);
    showSettings();
    if (settings() != before)
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
    applyCommandCaptions();
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
    edit([&](EncodingSettings &s) { s = settings; });
    showSettings();
}

const EncodingSettings &ConversionSettingsPanel::settings() const
{
    return m_owner->settings();
}

void ConversionSettingsPanel::edit(const std::function<void(EncodingSettings &)> &change)
{
    m_owner->update(change, this);
}

void ConversionSettingsPanel::setLists(const EncodingLists &lists)
{
    m_lists = lists;
    m_controls->setItems(m_strings, m_lists);
    showSettings();
}

void ConversionSettingsPanel::onEdited(const SettingDescriptor *d)
{
    edit([&](EncodingSettings &s) { m_controls->read(*d, s); });
    settingsUpdated();
    Q_EMIT settingsChanged();
}

void ConversionSettingsPanel::showSettings()
{
    edit([this](EncodingSettings &s) { NormalizeListIndexes(s, m_lists); });
    if (auto *resolution = m_controls->widget<QComboBox>("cbResolution"))
        ApplyResolutionEntryLook(resolution);
    m_controls->show(settings());
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
    const EncodingSettings &s = settings();
    const EnableState state = EvaluateEnableRules(s);
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
    setLabel("lblMpgInfo", MpgInfoText(s.cbMpgVideo, m_strings));
    setLabel("lblAudioVolume", AudioVolumeLabel(s.tbAudioVolume));
    setLabel("lblBrightnessValue", TrackBarValueText(s.tbBrightness));
    setLabel("lblSaturationValue", TrackBarValueText(s.tbSaturation));
}

PieceContext ConversionSettingsPanel::context(IMessageSink *sink) const
{
    PieceContext ctx(settings(), m_lists, m_strings, m_info);
    ctx.messages = sink;
    ctx.encoders = m_encoders ? &*m_encoders : nullptr;
    return ctx;
}

void ConversionSettingsPanel::setSelectedFile(const QString &path, const QString &treeRoot)
{
    // A later selection makes the earlier one's answer stale.
    m_jobs->cancel(ProbeJob);
    m_selectedPath = path;
    m_selectedTreeRoot = treeRoot;
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
    const int track = settings().cbAudioTrackNo;
    edit([this](EncodingSettings &s) { UpdateCbAudioTrackNo(s, m_lists, m_info, m_strings); });
    m_controls->setItems(m_strings, m_lists);
    m_controls->show(*FindSetting("cbAudioTrackNo"), settings());
    settingsUpdated();
    if (settings().cbAudioTrackNo != track)
        Q_EMIT settingsChanged();
    Q_EMIT selectedFileAnalysed(m_selectedPath);
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
