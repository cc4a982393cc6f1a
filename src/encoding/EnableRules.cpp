#include "encoding/EnableRules.h"

#include "encoding/SettingsLists.h"

namespace {

using E = EnableState;

constexpr EnableFlag Flags[] = {
    {"lblAviVideoCodec", &E::lblAviVideoCodec},
    {"cbAviVideoCodec", &E::cbAviVideoCodec},
    {"lblAviVideoBitrate", &E::lblAviVideoBitrate},
    {"cbAviVideoBitrate", &E::cbAviVideoBitrate},
    {"lblAviVideoKbps", &E::lblAviVideoKbps},
    {"lblAviVideoFPS", &E::lblAviVideoFPS},
    {"cbAviVideoFPS", &E::cbAviVideoFPS},
    {"lblAviVideoAspect", &E::lblAviVideoAspect},
    {"cbAviVideoAspect", &E::cbAviVideoAspect},
    {"chAviVideo2Pass", &E::chAviVideo2Pass},
    {"chAviVideoDontCopy", &E::chAviVideoDontCopy},
    {"lblAviVideoThreads", &E::lblAviVideoThreads, &E::lblAviVideoThreadsVisible},
    {"cbAviVideoThreads", &E::cbAviVideoThreads, &E::cbAviVideoThreadsVisible},
    {"lblMpgVideo", &E::lblMpgVideo},
    {"cbMpgVideo", &E::cbMpgVideo},
    {"lblMpgInfo", &E::lblMpgInfo},
    {"lblMpgVideoBitrate", &E::lblMpgVideoBitrate},
    {"cbMpgVideoBitrate", &E::cbMpgVideoBitrate},
    {"lblMpgVideoKbps", &E::lblMpgVideoKbps},
    {"lblMpgVideoFPS", &E::lblMpgVideoFPS},
    {"cbMpgVideoFPS", &E::cbMpgVideoFPS},
    {"lblMpegVersion", &E::lblMpegVersion},
    {"cbMpegVersion", &E::cbMpegVersion},
    {"chMpgVideo2Pass", &E::chMpgVideo2Pass},
    {"chMpgVideoDontCopy", &E::chMpgVideoDontCopy},
    {"chAudioDontCopy", &E::chAudioDontCopy},
    {"lblAudioCodec", &E::lblAudioCodec},
    {"cbAudioCodec", &E::cbAudioCodec},
    {"lblAudioBitrate", &E::lblAudioBitrate},
    {"cbAudioBitrate", &E::cbAudioBitrate},
    {"lblAudioKbps", &E::lblAudioKbps},
    {"lblAudioSampling", &E::lblAudioSampling},
    {"cbAudioSampling", &E::cbAudioSampling},
    {"lblAudioHz", &E::lblAudioHz},
    {"lblAudioChannels", &E::lblAudioChannels},
    {"cbAudioChannels", &E::cbAudioChannels},
    {"tbAudioVolume", &E::tbAudioVolume},
    {"lblAudioVolumeInfo", &E::lblAudioVolumeInfo},
    {"lblAudioVolume", &E::lblAudioVolume},
    {"lblAudioTrackNo", &E::lblAudioTrackNo},
    {"cbAudioTrackNo", &E::cbAudioTrackNo},
    {"lblInterlacing", &E::lblInterlacing},
    {"cbInterlacing", &E::cbInterlacing},
    {"lblVideoFourcc", &E::lblVideoFourcc},
    {"chVideoFourcc", &E::chVideoFourcc},
    {"cbVideoTag", &E::cbVideoTag},
    {"cbResolution", &E::cbResolution},
    {"lblResWidth", &E::lblResWidth},
    {"spedResWidth", &E::spedResWidth},
    {"lblResX", &E::lblResX},
    {"lblResHeight", &E::lblResHeight},
    {"spedResHeight", &E::spedResHeight},
    {"lblCropTop", &E::lblCropTop},
    {"spedCropTop", &E::spedCropTop},
    {"lblCropBottom", &E::lblCropBottom},
    {"spedCropBottom", &E::spedCropBottom},
    {"lblCropLeft", &E::lblCropLeft},
    {"spedCropLeft", &E::spedCropLeft},
    {"lblCropRight", &E::lblCropRight},
    {"spedCropRight", &E::spedCropRight},
    {"chConvertColors", &E::chConvertColors},
    {"cbConvertColors", &E::cbConvertColors},
    {"chBrightness", &E::chBrightness},
    {"tbBrightness", &E::tbBrightness},
    {"lblBrightnessValue", &E::lblBrightnessValue},
    {"chSaturation", &E::chSaturation},
    {"tbSaturation", &E::tbSaturation},
    {"lblSaturationValue", &E::lblSaturationValue},
    {"chFlipHorizontal", &E::chFlipHorizontal},
    {"chFlipVertical", &E::chFlipVertical},
    {"chNegative", &E::chNegative},
    {"chRotate", &E::chRotate},
    {"cbRotate", &E::cbRotate},
    {"edOutDir", &E::edOutDir},
    {"actBrowseOutDir", &E::actBrowseOutDir},
    {"actExploreOutDir", &E::actExploreOutDir},
};

} // namespace

std::span<const EnableFlag> EnableFlags()
{
    return Flags;
}

EnableState EvaluateEnableRules(const EncodingSettings &s)
{
    EnableState e;
    e.IsMpg = s.IsMpg();
    const bool mpgCustom = s.cbMpgVideo == MpgVideo::Custom;
    // Anything but "Custom" counts as a preset here, a missing selection too.
    const bool dvdPreset = e.IsMpg && !mpgCustom;

    // MPG page.
    const bool mpgVideoOn = !s.chMpgVideoDontCopy;
    e.chMpgVideoDontCopy = true;
    e.chMpgVideo2Pass = e.lblMpgVideo = e.cbMpgVideo = e.lblMpgInfo = mpgVideoOn;
    const bool mpgCustomOn = mpgVideoOn && mpgCustom;
    e.lblMpgVideoBitrate = e.lblMpgVideoKbps = e.cbMpgVideoBitrate = mpgCustomOn;
    e.lblMpgVideoFPS = e.cbMpgVideoFPS = mpgCustomOn;
    e.lblMpegVersion = e.cbMpegVersion = mpgCustomOn;

    // AVI page.
    const bool aviVideoOn = !s.chAviVideoDontCopy;
    e.chAviVideoDontCopy = true;
    e.cbAviVideoCodec = e.lblAviVideoCodec = aviVideoOn;
    e.chAviVideo2Pass = aviVideoOn;
    e.cbAviVideoThreads = e.lblAviVideoThreads = aviVideoOn;
    e.cbAviVideoThreadsVisible = e.lblAviVideoThreadsVisible = s.cbAviVideoCodec == AviCodec::H264;
    const bool huffOrCopy
        = s.cbAviVideoCodec == AviCodec::HuffYUV || s.cbAviVideoCodec == AviCodec::Copy;
    e.cbAviVideoBitrate = aviVideoOn && !huffOrCopy;
    e.cbAviVideoFPS = aviVideoOn && s.cbAviVideoCodec != AviCodec::Copy;
    e.cbAviVideoAspect = aviVideoOn && s.cbAviVideoCodec != AviCodec::Copy;
    e.lblAviVideoBitrate = e.lblAviVideoKbps = e.cbAviVideoBitrate;
    e.lblAviVideoFPS = e.cbAviVideoFPS;
    e.lblAviVideoAspect = e.cbAviVideoAspect;

    // Audio group.
    e.chAudioDontCopy = !dvdPreset;
    e.AudioOn = !s.chAudioDontCopy && !dvdPreset;
    e.cbAudioCodec = e.lblAudioCodec = e.AudioOn;
    e.cbAudioBitrate
        = e.AudioOn && s.cbAudioCodec != AudioCodec::Pcm && s.cbAudioCodec != AudioCodec::Copy;
    e.cbAudioSampling = e.cbAudioChannels = e.AudioOn && s.cbAudioCodec != AudioCodec::Copy;
    // The labels stay with the audio group as a whole.
    e.lblAudioBitrate = e.lblAudioKbps = e.AudioOn;
    e.lblAudioSampling = e.lblAudioHz = e.lblAudioChannels = e.AudioOn;
    e.tbAudioVolume = e.lblAudioVolumeInfo = e.lblAudioVolume = e.AudioOn;
    e.cbAudioTrackNo = e.lblAudioTrackNo = e.AudioOn;

    // Video tag.
    e.TagOn = e.IsMpg ? (mpgVideoOn && mpgCustom) : aviVideoOn;
    e.chVideoFourcc = e.lblVideoFourcc = e.TagOn;
    e.cbVideoTag = e.chVideoFourcc && s.chVideoFourcc;

    // Picture processing.
    e.VideoFiltersOn = e.IsMpg ? mpgVideoOn : (aviVideoOn && s.cbAviVideoCodec != AviCodec::Copy);
    const bool filters = e.VideoFiltersOn;
    e.chConvertColors = e.chBrightness = e.chSaturation = filters;
    e.chFlipHorizontal = e.chFlipVertical = e.chNegative = e.chRotate = filters;
    e.cbConvertColors = filters && s.chConvertColors;
    e.tbBrightness = e.lblBrightnessValue = filters && s.chBrightness;
    e.tbSaturation = e.lblSaturationValue = filters && s.chSaturation;
    e.cbRotate = filters && s.chRotate;
    e.cbInterlacing = e.lblInterlacing = filters; // see the header

    // Resolution and cropping.
    const bool sizeOn = filters && (!e.IsMpg || mpgCustom);
    e.cbResolution = sizeOn;
    e.spedCropTop = e.spedCropBottom = e.spedCropLeft = e.spedCropRight = sizeOn;
    e.lblCropTop = e.lblCropBottom = e.lblCropLeft = e.lblCropRight = sizeOn;
    const bool customSize = sizeOn && s.cbResolution == Resolution::Custom;
    e.spedResWidth = e.spedResHeight = customSize;
    e.lblResWidth = e.lblResHeight = e.lblResX = customSize;

    // Output folder.
    e.edOutDir = e.actBrowseOutDir = s.rbOutDir;
    e.actExploreOutDir = e.actBrowseOutDir;
    return e;
}
