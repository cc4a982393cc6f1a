#pragma once

#include "analysis/VideoFileInfo.h"
#include "app/AppParams.h"
#include "encoding/EncoderSupport.h"
#include "encoding/EncodingSettings.h"
#include "encoding/SettingsClipboard.h"
#include "encoding/SettingsTable.h"
#include "i18n/AppStrings.h"
#include "ui/common/BackgroundJobs.h"
#include "ui/settings/SettingsPanelLayout.h"

#include <QAnyStringView>
#include <QHash>
#include <QList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class IMessageSink;
class QAction;
class QMenu;
class SettingWidgets;
class SettingsOwner;
class TFormCmdLine;
struct PieceContext;
struct SettingDescriptor;

// The conversion-settings area of the main window: the output format with
// its two video pages (AVI, MPG), the audio settings and the advanced
// settings, with the profile list above them. Every control is bound to the
// record through the settings table; enabled states, derived labels, list
// entries, profiles, the settings clipboard and the command texts all come
// from the core. The panel owns the command-line window (F2) and the
// analysis of the selected file, which serves the audio-track list and the
// preview. The record itself lives in a SettingsOwner shared with the
// output options below the list, whose fields the panel does not show but
// uses in the commands it builds.
//
// settings/ConversionSettingsMenu.cpp holds the encoder menu's commands
// (profiles, settings clipboard, defaults);
// settings/ConversionSettingsCommandLine.cpp the marks of invalid values,
// the command-line window and its shell command.
class ConversionSettingsPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool expanded READ isExpanded WRITE setExpanded NOTIFY expandedChanged)
public:
    // With a record of its own, at the built-in defaults.
    explicit ConversionSettingsPanel(QWidget *parent = nullptr);
    // Reads and writes owner's record and shows whatever others write there.
    explicit ConversionSettingsPanel(SettingsOwner *owner, QWidget *parent = nullptr);
    // Stops the analyses and FFmpeg questions still running.
    ~ConversionSettingsPanel() override;

    // Folders, data files and tools (ProfilesDir, LastProfileFile,
    // ResolutionTxt, FourccTagsFile, AudioBitratesTxt, ffmpeg, MediaInfoDll,
    // MonospaceFont): rebuilds the data-file lists and the profile list, and
    // asks FFmpeg for its encoders off the window's thread.
    void setParams(const TAppParams &params);
    // The AVI codec entry of the DefaultVideoCodec option (0 Xvid, 2 H.264),
    // used by the default commands and profile loads.
    void setDefaultVideoCodec(int entry);
    // SetLang: captions, list entries by index, the "Auto" texts, the
    // command-line window's caption. Typed numbers stay.
    void SetLang(const TAppStrings &strings);

    // The whole record. Reports no change.
    void setSettings(const EncodingSettings &settings);
    const EncodingSettings &settings() const;
    SettingsOwner *owner() const { return m_owner; }
    // The item lists of the data files and of the selected file; the run
    // needs the same ones. Reports no change.
    void setLists(const EncodingLists &lists);
    const EncodingLists &lists() const { return m_lists; }

    // The row of the file list after its selection settled; empty for none.
    // The file is analysed once, off the window's thread, for the
    // audio-track list and the preview; a later call drops an earlier
    // analysis still running. treeRoot: the row's FileListRow::treeRoot,
    // for the output name of the copied command.
    void setSelectedFile(const QString &path, const QString &treeRoot = {});
    const QString &selectedFile() const { return m_selectedPath; }
    const TVideoFileInfo &selectedFileInfo() const { return m_info; }

    // GetProfiles: the profile list from the profiles folder, entry 0.
    void refreshProfiles();
    // LoadProfile, then the enable rules; false when the file does not exist.
    bool loadProfile(const QString &file);
    // SaveProfile (after the save dialog); a file in the profiles folder is
    // listed and selected at once. A failure is shown; false then.
    bool saveProfileAs(const QString &file);
    // actSetDefaultEncoderSettings.
    void setDefaultEncoderSettings();

    // pnConversionSettingsExpanded: the sections shown below the header.
    bool isExpanded() const;
    // How much taller the panel would have to be to show the advanced
    // section without scrolling (0 when it shows whole).
    int hiddenHeight() const;
    void setExpanded(bool expanded);

    // The commands of the encoder menu in its order, separators included:
    // load and save profile (Ctrl+P, Ctrl+S), default encoder settings, the
    // copy, paste and default commands of the four groups, the command-line
    // window (F2).
    QList<QAction *> encoderMenuActions() const;
    // One of them by name ("actSaveProfile", "actPasteAudioSettings", ...).
    QAction *action(QAnyStringView name) const;
    TFormCmdLine *commandLineWindow() const { return m_cmdLine; }

    // A conversion run: the settings and commands are disabled; afterwards
    // each paste command is enabled again only when its group was copied.
    void setRunning(bool running);

Q_SIGNALS:
    // The user (or a command of the panel) changed the settings.
    void settingsChanged();
    void expandedChanged(bool expanded);
    // The selected file has been analysed (also when the analysis failed).
    void selectedFileAnalysed(const QString &path);

protected:
    void changeEvent(QEvent *event) override;

private:
    // settings/ConversionSettingsMenu.cpp
    void createActions();
    void applyCommandCaptions();
    void onProfileChosen(int entry);
    void chooseProfileToLoad();
    void chooseProfileToSave();
    void copyGroup(SettingsGroup group);
    void pasteGroup(SettingsGroup group);
    void defaultGroup(SettingsGroup group);
    void updateCommandStates();

    // settings/ConversionSettingsCommandLine.cpp
    void markInvalidSettings();
    void refreshPreview();
    void toggleCommandLine();
    void copyShellCommand();
    void showMessages(const QStringList &messages);

    void applyCaptions();
    void onEdited(const SettingDescriptor *d);
    // The record changed as a whole (defaults, profile, paste, language).
    void showSettings();
    // Enable rules, derived labels, marks and the preview after any change.
    void settingsUpdated();
    void applyEnableRules();
    // Writes the record, as this panel (which shows the change itself).
    void edit(const std::function<void(EncodingSettings &)> &change);
    void onProbed(const std::shared_ptr<TVideoFileInfo> &info);
    void openAudioBitrateReport();
    void openFFmpegHelp();
    PieceContext context(IMessageSink *sink) const;

    TAppStrings m_strings;
    TAppParams m_params;
    int m_defaultVideoCodec = 0;
    SettingsOwner *m_owner;
    EncodingLists m_lists;
    SettingsClipboard m_clipboard;
    bool m_running = false;

    QString m_selectedPath;
    QString m_selectedTreeRoot;
    bool m_analysed = false;
    TVideoFileInfo m_info;
    std::optional<EncoderSet> m_encoders;

    SettingWidgets *m_controls;
    SettingsPanelParts m_parts;
    QHash<QString, QWidget *> m_named; // every named widget, for rules and captions
    TFormCmdLine *m_cmdLine;
    bool m_cmdLinePlaced = false;
    QHash<QString, QAction *> m_actions;
    QList<QAction *> m_menuActions;
    // The questions to FFmpeg: the selected file, the encoder list, the
    // help text; each kind has a thread, so none waits for another.
    enum JobKind { ProbeJob, EncodersJob, HelpJob, JobKinds };
    BackgroundJobs *m_jobs;
};
