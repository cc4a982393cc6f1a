#pragma once

#include "encoding/EncodingSettings.h"
#include "i18n/AppStrings.h"
#include "settings/SettingsFile.h"
#include "ui/options/OptionsTarget.h"

#include <QMainWindow>
#include <memory>
#include <vector>

class ConversionController;
class ConversionSettingsPanel;
class LanguageSwitcher;
class TFormCheckUpdate;
class TFormOptions;
class TFormToolsInfo;
class TFormErrors;
class TFormFileInfo;
class TFormProgress;
struct ConversionRow;
struct ConversionSetup;
class FileListPanel;
class MainActions;
class MainMenus;
class MainTray;
class OutputOptionsPanel;
class QMenu;
class SettingsOwner;
class TFormAbout;
enum class MainCommand;

// The main window. Its creation runs the program's start-up (parameters,
// tools, language, last-session profile, settings file); closing it saves
// the settings file and the last-session profile. The commands live in
// main/MainCommands.cpp, the settings binding in main/MainSettingsBinding.cpp.
class ContentsScrollArea;
class QSplitter;

class TFormMain : public QMainWindow, private OptionsTarget
{
    Q_OBJECT
public:
    explicit TFormMain(QWidget *parent = nullptr);
    ~TFormMain() override;

    TAppStrings &strings() { return m_strings; }
    const TAppStrings &strings() const { return m_strings; }
    const EncodingSettings &settings() const;

    // Every caption, hint, header and list entry from the catalogue, for
    // this window and the about window.
    void SetLang();
    // The enable-rule pass: the core decides, the window applies.
    void InitControls();

    // Command-line arguments: each supported file, folder or list file is
    // added in the order given.
    void addCommandLinePaths(const QStringList &arguments);
    // A stop signal: a run is aborted without a question and cleaned up,
    // then the window closes as usual (the settings are saved).
    void closeForSignal();

    QAction *action(MainCommand command) const;
    FileListPanel *fileList() const { return m_panel; }
    ConversionSettingsPanel *conversionSettings() const { return m_conversionSettings; }
    ConversionController *conversion() const { return m_conversion; }
    TFormProgress *progressWindow() const { return m_progressWindow; }
    TFormErrors *errorsWindow() const { return m_errorsWindow; }
    TFormFileInfo *fileInfoWindow() const { return m_fileInfoWindow; }
    TFormAbout *aboutWindow() const { return m_about; }
    // Made when first asked for: its font list takes longer to build than
    // the rest of the start-up.
    TFormOptions *optionsWindow();
    TFormToolsInfo *toolsInfoWindow() const { return m_toolsInfo; }
    TFormCheckUpdate *checkUpdateWindow() const { return m_checkUpdate; }
    LanguageSwitcher *languages() const { return m_languages; }
    QMenu *popLv() const;
    QMenu *popTi() const;

Q_SIGNALS:
    // The close handler has run: the settings are saved.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void placeSplitter();
    void widenToFit();
    void hideEvent(QHideEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // main/MainSettingsBinding.cpp
    // The page and the output options of start, from the file.
    void LoadSettingsFromIni(EncodingSettings &start);
    void SaveSettingsToIni();
    void applyListAppearance();

    // main/MainCommands.cpp
    void connectCommands();
    void addFilesCommand();
    void addFolderCommand();
    void loadFileListCommand();
    void saveFileListCommand();
    void exploreDirectory();
    void exploreOutDir();
    void browseOutDir();
    void toggleStayOnTop();
    void minimizeToTray();
    void showHideMainWindow();
    void showHelp();
    void showAbout();
    void escape();
    void showListError(const QString &text);

    void onSelectionSettled(int row);
    // The list, the settings record and the two panels that share it, the
    // menus, and their places in the window.
    void createPanels();

    // main/MainConversion.cpp
    void createConversionWindows();
    void showFileInfoOfCurrentRow();
    ConversionSetup conversionSetup() const;
    std::vector<ConversionRow> conversionRows() const;
    // "Check the failed files" applies to the list the last run saw.
    bool retryPossible() const;
    // DisableAll during a run, EnableAll after it.
    void setRunning(bool running);
    // Windows other than this one that exist: they follow stay-on-top.
    QList<QWidget *> otherWindows() const;

    // main/MainOptions.cpp: the options, tools and update windows, the
    // language switch, and the list look the options window edits.
    void createOptionsWindows();
    FileListLook fileListLook() const override;
    int defaultVideoCodec() const override;
    AppTheme theme() const override;
    int simultaneousConversions() const override;
    void setListFontName(const QString &family) override;
    void setListFontSize(int points) override;
    void setListRowHeight(int pixels) override;
    void setListGridLines(bool on) override;
    void setListFooterVisible(bool on) override;
    void setListRowIndicator(bool on) override;
    void setListRowMovingAllowed(bool on) override;
    void setListColumnMovingAllowed(bool on) override;
    void setDefaultVideoCodec(int aviCodec) override;
    void setSimultaneousConversions(int count) override;
    void setTheme(AppTheme theme) override;
    void appParamsChanged(const TAppParams &params) override;

    TAppStrings m_strings;
    // The conversion settings, the output options below the list included:
    // the one record both panels read and write.
    SettingsOwner *m_settings = nullptr;
    // What the settings file holds besides the encoding settings.
    MainSettings m_main;
    ProgressSettings m_progress;
    bool m_stayOnTop = false;
    // The enable-rule pass is off while the window is being built.
    bool m_ready = false;
    bool m_closed = false;

    std::unique_ptr<MainActions> m_actions;
    std::unique_ptr<MainMenus> m_menus;
    FileListPanel *m_panel = nullptr;
    OutputOptionsPanel *m_pnMid = nullptr;
    QSplitter *m_splitter = nullptr;
    ContentsScrollArea *m_below = nullptr;
    bool m_sizeStored = false; // the settings file gave the window's size
    bool m_splitterPlaced = false;
    // The user has moved the splitter (now or in an earlier session).
    bool m_listHeightChosen = false;
    static constexpr int MinimumListRows = 7;
    ConversionSettingsPanel *m_conversionSettings = nullptr;
    TFormProgress *m_progressWindow = nullptr;
    TFormErrors *m_errorsWindow = nullptr;
    TFormFileInfo *m_fileInfoWindow = nullptr;
    ConversionController *m_conversion = nullptr;
    bool m_running = false;
    MainTray *m_tray = nullptr;
    TFormAbout *m_about = nullptr;
    LanguageSwitcher *m_languages = nullptr;
    TFormOptions *m_options = nullptr;
    TFormToolsInfo *m_toolsInfo = nullptr;
    TFormCheckUpdate *m_checkUpdate = nullptr;
};
