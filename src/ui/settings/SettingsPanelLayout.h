#pragma once

class ProfileComboBox;
class QScrollArea;
class QTabWidget;
class QToolButton;
class QWidget;
class SettingWidgets;

// The widgets of the settings panel that are not settings: the header with
// the collapse button and the profile list, the section drop-down buttons
// and the info buttons. Labels are found by their object names.
struct SettingsPanelParts
{
    QToolButton *expandButton = nullptr;
    ProfileComboBox *cbProfileNew = nullptr;
    QToolButton *btnLoadSelectedProfile = nullptr; // "<-- Load"
    QWidget *body = nullptr; // everything below the header
    QTabWidget *pcVideoFormat = nullptr;
    QScrollArea *sboxAdvanced = nullptr;
    QToolButton *sbtnVideoSettings = nullptr;
    QToolButton *sbtnAudioSettings = nullptr;
    QToolButton *sbtnAdvancedSettings = nullptr;
    QToolButton *btnInfoAudioBitrates = nullptr;
    QToolButton *btnFFParams = nullptr;
    QToolButton *btnInfoFourcc = nullptr;
};

// Creates every control of the panel in panel (settings through controls)
// and lays them out: the header, then three sections side by side: output
// format and video (pages AVI and MPG), audio, advanced (scrolling).
SettingsPanelParts BuildSettingsPanel(QWidget *panel, SettingWidgets &controls);
