#pragma once

#include "encoding/EncodingSettings.h"

#include <span>

// Which controls of the settings area are enabled (and, for the threads
// control, visible) for a given record. The builders honour it: a disabled
// control contributes nothing to the command, whatever its value. Every field
// is named after its control; the four derived flags come first.
//
// Deinterlacing: cbInterlacing (with lblInterlacing) follows VideoFiltersOn,
// like the other picture-processing controls, not the audio controls. Yadif
// is a video filter, so it only makes sense where the video is re-encoded:
// tied to the audio, an interlaced source with "Copy original video stream"
// got "-c:v copy -vf yadif", which FFmpeg refuses outright, while dropping
// the audio silently switched a chosen "Deinterlace" off. With this rule the
// DVD presets keep deinterlacing (FFmpeg accepts a filter with "-target").
struct EnableState
{
    bool IsMpg = false;
    bool AudioOn = false;
    bool TagOn = false;
    bool VideoFiltersOn = false;

    // AVI page.
    bool lblAviVideoCodec = false;
    bool cbAviVideoCodec = false;
    bool lblAviVideoBitrate = false;
    bool cbAviVideoBitrate = false;
    bool lblAviVideoKbps = false;
    bool lblAviVideoFPS = false;
    bool cbAviVideoFPS = false;
    bool lblAviVideoAspect = false;
    bool cbAviVideoAspect = false;
    bool chAviVideo2Pass = false;
    bool chAviVideoDontCopy = false;
    bool lblAviVideoThreads = false;
    bool cbAviVideoThreads = false;
    // Shown only while H.264 is the selected codec.
    bool lblAviVideoThreadsVisible = false;
    bool cbAviVideoThreadsVisible = false;

    // MPG page.
    bool lblMpgVideo = false;
    bool cbMpgVideo = false;
    bool lblMpgInfo = false;
    bool lblMpgVideoBitrate = false;
    bool cbMpgVideoBitrate = false;
    bool lblMpgVideoKbps = false;
    bool lblMpgVideoFPS = false;
    bool cbMpgVideoFPS = false;
    bool lblMpegVersion = false;
    bool cbMpegVersion = false;
    bool chMpgVideo2Pass = false;
    bool chMpgVideoDontCopy = false;

    // Audio group.
    bool chAudioDontCopy = false;
    bool lblAudioCodec = false;
    bool cbAudioCodec = false;
    bool lblAudioBitrate = false;
    bool cbAudioBitrate = false;
    bool lblAudioKbps = false;
    bool lblAudioSampling = false;
    bool cbAudioSampling = false;
    bool lblAudioHz = false;
    bool lblAudioChannels = false;
    bool cbAudioChannels = false;
    bool tbAudioVolume = false;
    bool lblAudioVolumeInfo = false;
    bool lblAudioVolume = false;

    // Advanced panel.
    bool lblAudioTrackNo = false;
    bool cbAudioTrackNo = false;
    bool lblInterlacing = false;
    bool cbInterlacing = false;
    bool lblVideoFourcc = false;
    bool chVideoFourcc = false;
    bool cbVideoTag = false;
    bool cbResolution = false;
    bool lblResWidth = false;
    bool spedResWidth = false;
    bool lblResX = false;
    bool lblResHeight = false;
    bool spedResHeight = false;
    bool lblCropTop = false;
    bool spedCropTop = false;
    bool lblCropBottom = false;
    bool spedCropBottom = false;
    bool lblCropLeft = false;
    bool spedCropLeft = false;
    bool lblCropRight = false;
    bool spedCropRight = false;
    bool chConvertColors = false;
    bool cbConvertColors = false;
    bool chBrightness = false;
    bool tbBrightness = false;
    bool lblBrightnessValue = false;
    bool chSaturation = false;
    bool tbSaturation = false;
    bool lblSaturationValue = false;
    bool chFlipHorizontal = false;
    bool chFlipVertical = false;
    bool chNegative = false;
    bool chRotate = false;
    bool cbRotate = false;

    // Output options.
    bool edOutDir = false;
    bool actBrowseOutDir = false;
    bool actExploreOutDir = false;
};

// The state of one control, by its name: for code that applies the state to
// widgets. The four derived flags are not controls and are not listed.
struct EnableFlag
{
    const char *control;
    bool EnableState::*enabled;
    bool EnableState::*visible = nullptr; // null: always shown
};
// Every control of EnableState, each once.
std::span<const EnableFlag> EnableFlags();

// Pure function of the record; any field values (garbage indexes included)
// give a defined state.
EnableState EvaluateEnableRules(const EncodingSettings &s);

// The texts the evaluation also refreshes (lblMpgInfo, lblBrightnessValue,
// lblSaturationValue) come from SettingsTexts.h.
