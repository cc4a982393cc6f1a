#pragma once

#include <QString>
#include <QStringList>

// The conversion settings area as one plain record: a field per control,
// named after the control. List controls hold their item index, editable
// controls (whose items are only suggestions) their text, check boxes their
// state, track bars and spin boxes their position. The window shows and
// edits this record; the command builders, profiles and the settings
// clipboard read and write it. An item index of -1 means no selection; the
// item index of an editable list is not kept (EditableItemIndex finds it
// from the text). A default-built record is not the default settings: use
// DefaultEncodingSettings (SettingsDefaults.h), which needs the catalogue
// for the "Auto" texts. SettingsTable.h describes every field (profile key,
// kind, range, default, group): a new field needs a row there too.
struct EncodingSettings
{
    // Output format: the active page of pcVideoFormat.
    enum Page { tsAvi = 0, tsMpg = 1 };
    int pcVideoFormat = tsAvi;

    // AVI video page.
    int cbAviVideoCodec = 0;
    QString cbAviVideoThreads;
    QString cbAviVideoBitrate;
    QString cbAviVideoFPS;
    QString cbAviVideoAspect;
    bool chAviVideo2Pass = false;
    bool chAviVideoDontCopy = false;

    // MPG video page.
    int cbMpgVideo = 2;
    int cbMpegVersion = 0;
    QString cbMpgVideoBitrate;
    QString cbMpgVideoFPS;
    bool chMpgVideo2Pass = false;
    bool chMpgVideoDontCopy = false;

    // Audio group.
    int cbAudioCodec = 0;
    QString cbAudioBitrate;
    QString cbAudioSampling;
    int cbAudioChannels = 0;
    int tbAudioVolume = 100;
    bool chAudioDontCopy = false;

    // Advanced panel.
    int cbAudioTrackNo = 0;
    int cbInterlacing = 0;
    bool chVideoFourcc = false;
    QString cbVideoTag;
    int cbResolution = 0;
    int spedResWidth = 854;
    int spedResHeight = 480;
    int spedCropTop = 0;
    int spedCropBottom = 0;
    int spedCropLeft = 0;
    int spedCropRight = 0;
    bool chBrightness = false;
    int tbBrightness = 0;
    bool chSaturation = false;
    int tbSaturation = 10;
    bool chFlipHorizontal = false;
    bool chFlipVertical = false;
    bool chRotate = false;
    QString cbRotate;
    bool chNegative = false;
    bool chConvertColors = false;
    int cbConvertColors = 0;
    QString meParams; // all lines, separated by line breaks

    // Output options (kept in the settings file, not in profiles).
    bool rbOutDir = false; // false: rbOutDirIsInDir, output beside the input
    // With rbOutDir: a file that came through an added folder goes to the
    // same sub-folder of edOutDir as it had below that folder.
    bool chOutDirKeepTree = false;
    QString edOutDir;
    int cbOutputExists = 0;
    int cbAfterConversion = 0;
    bool chKeepDates = false;
    int cbSimultaneousConversions = 0; // the entry is the count; 0 is Auto

    bool IsMpg() const { return pcVideoFormat == tsMpg; }

    bool operator==(const EncodingSettings &) const = default;
};

// The item texts of the lists whose content is not fixed: filled from the
// data files (or built-in lists) and from the selected file's audio streams.
struct EncodingLists
{
    QStringList cbResolution; // "Auto", "Custom", then the presets
    QStringList cbVideoTag;
    QStringList cbAudioTrackNo; // entry 0 is the automatic first track

    bool operator==(const EncodingLists &) const = default;
};
