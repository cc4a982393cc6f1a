#pragma once

// The string catalogue as one table, from which the catalogue's fields, its
// English defaults, the language-file reader and the English language file
// are all generated, so the four can never disagree.
//
// Each row: X(Module, Key, FileKey, English)
//   Module   the record the entry lives in (TAppStrings::Main, ...)
//   Key      the field name; entries are addressed as "Module.Key"
//   FileKey  the key in the module's language-file section; "" for an entry
//            that is not read from a language file (it copies another entry)
//   English  the English text, stored unprocessed: "\n", "\t" and "%s" are
//            turned into display text only by FormatAppString
//
// Modules: M(Module, RecordType, Section), Section being the language-file
// section the module is read from.

// clang-format off

#define QLN_APP_STRING_MODULES(M) \
    M(Main, TMainModuleStrings, "MAIN") \
    M(Errors, TErrorsModuleStrings, "Errors") \
    M(FileInfo, TFileInfoModuleStrings, "FileInfo") \
    M(Options, TOptionsModuleStrings, "Options") \
    M(Progress, TProgressModuleStrings, "Progress") \
    M(About, TAboutModuleStrings, "About") \
    M(ToolsInfo, TToolsInfoModuleStrings, "ToolsInfo") \
    M(CheckUpdate, TCheckUpdateModuleStrings, "CheckUpdate")

// Main: 209 entries
#define QLN_APP_STRINGS_Main(X) \
    X(Main, Auto, "Auto", "Auto") \
    X(Main, AverageShort, "AverageShort", "AVG") \
    X(Main, gbInterlacing, "gbInterlacing", "Deinterlacing") \
    X(Main, cbInterlacing_Deinterlace, "cbInterlacing_Deinterlace", "Deinterlace") \
    X(Main, cbInterlacing_KeepOriginal, "cbInterlacing_KeepOriginal", "Keep original") \
    X(Main, actShowCmdLine, "actShowCmdLine", "Show / &hide FFmpeg command-line parameters...") \
    X(Main, cbProfile_TheLastSessionSettings, "cbProfile_TheLastSessionSettings", "The last session settings") \
    X(Main, cbProfile_DefaultSettings, "cbProfile_DefaultSettings", "Encoder default settings") \
    X(Main, lblProfile, "lblProfile", "&Profile:") \
    X(Main, actLoadSelectedProfile, "actLoadSelectedProfile", "<-- L&oad") \
    X(Main, mnuView, "mnuView", "&View") \
    X(Main, dlgSaveProfile_Filter, "dlgSaveProfile_Filter", "Ini files (*.INI)") \
    X(Main, dlgOpenProfile_Filter, "dlgOpenProfile_Filter", "Ini files (*.INI)") \
    X(Main, dlgSaveFileList_Filter, "dlgSaveFileList_Filter", "File list (*.LST)") \
    X(Main, dlgOpenFileList_Filter, "dlgOpenFileList_Filter", "File list (*.LST)") \
    X(Main, dlgSaveBAT_Filter, "dlgSaveBAT_Filter", "Batch files (*.BAT)") \
    X(Main, dlgOpen_Filter1, "dlgOpen_Filter1", "MKV video files") \
    X(Main, dlgOpen_Filter2, "dlgOpen_Filter2", "All supported files") \
    X(Main, Custom, "Custom", "Custom") \
    X(Main, mnuFile, "mnuFile", "&File") \
    X(Main, mnuFileList, "mnuFileList", "File &list") \
    X(Main, mnuEncoder, "mnuEncoder", "&Encoder") \
    X(Main, mnuHelp, "mnuHelp", "&Help") \
    X(Main, colNo, "colNo", "No") \
    X(Main, colIcon, "colIcon", "Icon") \
    X(Main, colFile, "colFile", "File") \
    X(Main, colDirectory, "colDirectory", "Directory") \
    X(Main, colSize, "colSize", "Size") \
    X(Main, colStatus, "colStatus", "Status") \
    X(Main, colExpectedSize, "colExpectedSize", "Expected size") \
    X(Main, FreeSpace, "FreeSpace", "%s free") \
    X(Main, NotEnoughSpace, "NotEnoughSpace", "Not enough space: the checked files need %s, %s are free.") \
    X(Main, colDuration, "colDuration", "Duration") \
    X(Main, colAudio, "colAudio", "Audio") \
    X(Main, colAudioCodec, "colAudioCodec", "Audio codec") \
    X(Main, colAudioCodecID, "colAudioCodecID", "Audio codec ID") \
    X(Main, colAudioProfile, "colAudioProfile", "Audio profile") \
    X(Main, colAudioBitrate, "colAudioBitrate", "Audio bitrate") \
    X(Main, colAudioChannels, "colAudioChannels", "Channels") \
    X(Main, colAudioSampling, "colAudioSampling", "Sampling") \
    X(Main, colAudioStreamSize, "colAudioStreamSize", "Audio stream size") \
    X(Main, colVideo, "colVideo", "Video") \
    X(Main, colVideoCodec, "colVideoCodec", "Video codec") \
    X(Main, colVideoCodecID, "colVideoCodecID", "Video codec ID") \
    X(Main, colVideoProfile, "colVideoProfile", "Video profile") \
    X(Main, colVideoBitrate, "colVideoBitrate", "Video bitrate") \
    X(Main, colVideoWidth, "colVideoWidth", "Width") \
    X(Main, colVideoHeight, "colVideoHeight", "Height") \
    X(Main, colVideoResolution, "colVideoResolution", "Resolution") \
    X(Main, colVideoDisplayAspect, "colVideoDisplayAspect", "Display aspect") \
    X(Main, colVideoFPS, "colVideoFPS", "Frames/sec.") \
    X(Main, colVideoScanType, "colVideoScanType", "Scan type") \
    X(Main, colVideoBpp, "colVideoBpp", "Bits/pixel") \
    X(Main, colVideoStreamSize, "colVideoStreamSize", "Video stream size") \
    X(Main, actConvert, "actConvert", "&Convert checked files") \
    X(Main, actExit, "actExit", "&Exit") \
    X(Main, actLoadProfile, "actLoadProfile", "&Load encoder settings...") \
    X(Main, actSaveProfile, "actSaveProfile", "&Save encoder settings...") \
    X(Main, actAddFiles, "actAddFiles", "&Add files to list...") \
    X(Main, actAddFolder, "actAddFolder", "Add &files from folder...") \
    X(Main, actRemoveChecked, "actRemoveChecked", "&Remove checked files from list") \
    X(Main, actMinimizeToTray, "actMinimizeToTray", "&Minimize to system tray") \
    X(Main, actShowMainWindow, "actShowMainWindow", "&Show main window") \
    X(Main, actLoadFileList, "actLoadFileList", "Loa&d file list...") \
    X(Main, actSaveFileList, "actSaveFileList", "Sa&ve file list...") \
    X(Main, actCheckAll, "actCheckAll", "Ch&eck all") \
    X(Main, actUncheckAll, "actUncheckAll", "&Uncheck all files") \
    X(Main, actInvertSelection, "actInvertSelection", "&Invert selection") \
    X(Main, actCheckSelected, "actCheckSelected", "Check &selected files") \
    X(Main, actUncheckSelected, "actUncheckSelected", "U&ncheck selected files") \
    X(Main, actClearFileList, "actClearFileList", "Clear file &list") \
    X(Main, actGoToHomePage, "actGoToHomePage", "Home &page") \
    X(Main, actStayOnTop, "actStayOnTop", "Stay on &top") \
    X(Main, actAbout, "actAbout", "&About...") \
    X(Main, actShowOptions, "actShowOptions", "&Options...") \
    X(Main, actBrowseOutDir, "actBrowseOutDir", "Browse...") \
    X(Main, actExploreOutDir, "actExploreOutDir", "Explore...") \
    X(Main, actSaveBAT, "actSaveBAT", "&Save batch script...") \
    X(Main, actSetDefaultEncoderSettings, "actSetDefaultEncoderSettings", "&Default encoder settings") \
    X(Main, actShowHideFormErrors, "actShowHideFormErrors", "Show / hide &error log") \
    X(Main, actShowHideFileInfo, "actShowHideFileInfo", "Show / &hide video file properties") \
    X(Main, actShowHideBottomPanel, "actShowHideBottomPanel", "Show / hide bottom panel") \
    X(Main, actShowProgressWindow, "actShowProgressWindow", "&Show progress window") \
    X(Main, lblIfOutputExists, "lblIfOutputExists", "&If output file exists:") \
    X(Main, lblAfterConversion, "lblAfterConversion", "After conversion:") \
    X(Main, OutputDir, "OutputDir", "Output directory") \
    X(Main, rbOutDirIsInDir, "rbOutDirIsInDir", "Output directory = Input directory") \
    X(Main, chOutDirKeepTree, "chOutDirKeepTree", "Keep sub-folders") \
    X(Main, OutDirKeepTreeHint, "OutDirKeepTreeHint", "A file added through a folder goes to the same sub-folder of the output directory") \
    X(Main, cbAfterConversion_DoNothing, "cbAfterConversion_DoNothing", "Do nothing") \
    X(Main, cbAfterConversion_CloseApplication, "cbAfterConversion_CloseApplication", "Close application") \
    X(Main, cbAfterConversion_CloseWindows, "cbAfterConversion_CloseWindows", "Power off the computer") \
    X(Main, lblSimultaneousConversions, "lblSimultaneousConversions", "Simultaneous conversions:") \
    X(Main, cbOutputExists_Rename, "cbOutputExists_Rename", "Rename file") \
    X(Main, cbOutputExists_Overwrite, "cbOutputExists_Overwrite", "Overwrite it") \
    X(Main, cbOutputExists_Skip, "cbOutputExists_Skip", "Skip file") \
    X(Main, lblOutputFormatVideoSettings, "lblOutputFormatVideoSettings", "Output file format / Video settings") \
    X(Main, lblAudioSettings, "lblAudioSettings", "Audio settings") \
    X(Main, lblAdvancedSettings, "lblAdvancedSettings", "Advanced settings") \
    X(Main, gbAviVideoOptions, "gbAviVideoOptions", "Video options") \
    X(Main, lblAviVideoThreads, "lblAviVideoThreads", "&Threads:") \
    X(Main, lblAviVideoCodec, "lblAviVideoCodec", "Video &codec:") \
    X(Main, lblAviVideoBitrate, "lblAviVideoBitrate", "&Bitrate:") \
    X(Main, lblAviVideoFPS, "lblAviVideoFPS", "FP&S:") \
    X(Main, lblAviVideoAspect, "lblAviVideoAspect", "&Aspect:") \
    X(Main, chAviVideo2Pass, "chAviVideo2Pass", "&2-pass encoding") \
    X(Main, chAviVideoDontCopy, "chAviVideoDontCopy", "&Do not copy video stream") \
    X(Main, gbMPEGSettings, "gbMPEGSettings", "MPEG settings") \
    X(Main, lblMpgVideo, "lblMpgVideo", "Video &settings:") \
    X(Main, lblMpegVersion, "lblMpegVersion", "MPEG version:") \
    X(Main, lblMpgVideoBitrate, "lblMpgVideoBitrate", "&Bitrate:") \
    X(Main, lblMpgVideoFPS, "lblMpgVideoFPS", "FPS:") \
    X(Main, chMpgVideo2Pass, "chMpgVideo2Pass", "&2-pass encoding") \
    X(Main, chMpgVideoDontCopy, "chMpgVideoDontCopy", "&Do not copy video stream") \
    X(Main, gbAudioOptions, "gbAudioOptions", "Audio settings") \
    X(Main, lblAudioCodec, "lblAudioCodec", "A&udio codec:") \
    X(Main, lblAudioBitrate, "lblAudioBitrate", "Bitrate:") \
    X(Main, lblAudioSampling, "lblAudioSampling", "Sampling freq.:") \
    X(Main, lblAudioChannels, "lblAudioChannels", "Cha&nnels:") \
    X(Main, chAudioDontCopy, "chAudioDontCopy", "Do not copy audio stream") \
    X(Main, gbResolution, "gbResolution", "Resolution") \
    X(Main, edResWidth, "edResWidth", "Width:") \
    X(Main, edResHeight, "edResHeight", "Height:") \
    X(Main, chVideoFourcc, "chVideoFourcc", "Force video tag") \
    X(Main, gbCropping, "gbCropping", "Cropping") \
    X(Main, edCropTop, "edCropTop", "Top:") \
    X(Main, edCropBottom, "edCropBottom", "Bottom:") \
    X(Main, edCropLeft, "edCropLeft", "Left:") \
    X(Main, edCropRight, "edCropRight", "Right:") \
    X(Main, btnAdd, "btnAdd", "Add files") \
    X(Main, btnAddFolder, "btnAddFolder", "Add folder") \
    X(Main, btnRemove, "btnRemove", "Remove") \
    X(Main, btnConvert, "btnConvert", "Convert") \
    X(Main, btnOptions, "btnOptions", "Options") \
    X(Main, btnHomePage, "btnHomePage", "Home page") \
    X(Main, btnStayOnTop, "btnStayOnTop", "") \
    X(Main, btnAbout, "btnAbout", "About") \
    X(Main, btnFileInfo, "btnFileInfo", "File info") \
    X(Main, cbAviVideoCodec_HuffYUV, "cbAviVideoCodec_HuffYUV", "HuffYUV (lossless)") \
    X(Main, cbAviVideoCodec_Copy, "cbAviVideoCodec_Copy", "Copy original video stream") \
    X(Main, cbAudioCodec_Copy, "cbAudioCodec_Copy", "Copy original audio stream") \
    X(Main, lblAudioVolume, "lblAudioVolume", "V&olume:") \
    X(Main, gbFFmpegParams, "gbFFmpegParams", "Additional FFmpeg command-line parameters:") \
    X(Main, actExploreDirectory, "actExploreDirectory", "O&pen directory \"%s\"") \
    X(Main, MpgUserSettings, "MpgUserSettings", "User settings") \
    X(Main, Error, "Error", "Error") \
    X(Main, Errors, "Errors", "Errors") \
    X(Main, Abort, "Abort", "Abort") \
    X(Main, Aborted, "Aborted", "Aborted") \
    X(Main, Close, "Close", "C&lose") \
    X(Main, CantCreateDirectory, "CantCreateDirectory", "Couldn't create directory \"%s\" !") \
    X(Main, Converting, "Converting", "Converting") \
    X(Main, Done, "Done", "Done") \
    X(Main, OK_Renamed, "OK_Renamed", "OK - Renamed") \
    X(Main, Skipped, "Skipped", "Skipped") \
    X(Main, OK_Overwritten, "OK_Overwritten", "OK - Overwritten") \
    X(Main, PleaseWait, "PleaseWait", "Please wait...") \
    X(Main, Ready, "Ready", "Ready") \
    X(Main, VideoBitrateMustBeInteger, "VideoBitrateMustBeInteger", "Video bitrate: %s\\nBitrate must be an integer value!") \
    X(Main, FPSMustBeFloat, "FPSMustBeFloat", "Video FPS: %s\\nFPS must be a float value!") \
    X(Main, AudioBitrateMustBeInteger, "AudioBitrateMustBeInteger", "Audio bitrate: %s\\nBitrate must be an integer value!") \
    X(Main, AudioSamplingMustBeInteger, "AudioSamplingMustBeInteger", "Audio sampling frequency: %s\\nFrequency must be an integer value!") \
    X(Main, CommandLineInfo, "CommandLineInfo", "FFmpeg command-line parameters") \
    X(Main, FFmpegNotExists, "FFmpegNotExists", "Could not find FFmpeg!\\n\\n%s converts with the ffmpeg program. Install your distribution's ffmpeg package (on Debian and Ubuntu: sudo apt install ffmpeg) and try again.\\n\\nTo use another FFmpeg, give its path in the ffmpeg key of the [MAIN] section of quillon.ini.") \
    X(Main, gbAudioTrackNo, "gbAudioTrackNo", "Audio track to convert") \
    X(Main, FirstAudioTrack, "FirstAudioTrack", "(first audio track)") \
    X(Main, AudioLanguageUndefined, "AudioLanguageUndefined", "(undefined)") \
    X(Main, AudioLanguage, "AudioLanguage", "Language:") \
    X(Main, AudioChannels, "AudioChannels", "Channels:") \
    X(Main, pnConversionSettings, "pnConversionSettings", "Conversion settings") \
    X(Main, actToolsInfo, "actToolsInfo", "Tools info...") \
    X(Main, actCheckUpdate, "actCheckUpdate", "&Check for updates...") \
    X(Main, mnuColumns, "mnuColumns", "C&olumns") \
    X(Main, chKeepDates, "chKeepFileDates", "&Keep the dates of the original files") \
    X(Main, KeepDates, "KeepFileDates", "Keeps the creation, last write and the last access time of the original files") \
    X(Main, chConvertColors, "chConvertColors", "Convert colors to:") \
    X(Main, chBrightness, "chBrightness", "Brightness:") \
    X(Main, chSaturation, "chSaturation", "Saturation:") \
    X(Main, chFlipHorizontal, "chFlipHorizontal", "Flip horizontal") \
    X(Main, chFlipVertical, "chFlipVertical", "Flip vertical") \
    X(Main, chNegative, "chNegative", "Negative") \
    X(Main, chRotate, "chRotate", "Rotation:") \
    X(Main, ColorConversion_Grayscale, "ColorConversion_Grayscale", "Grayscale") \
    X(Main, ColorConversion_Sepia, "ColorConversion_Sepia", "Sepia") \
    X(Main, CopyVideoSettings_AVI, "CopyVideoSettings_AVI", "&Copy AVI video encoding settings") \
    X(Main, PasteVideoSettings_AVI, "PasteVideoSettings_AVI", "&Paste AVI video encoding settings") \
    X(Main, DefaultVideoSettings_AVI, "DefaultVideoSettings_AVI", "Default &AVI video encoding settings") \
    X(Main, CopyVideoSettings_MPG, "CopyVideoSettings_MPG", "Copy &MPG video encoding settings") \
    X(Main, PasteVideoSettings_MPG, "PasteVideoSettings_MPG", "Paste MPG &video encoding settings") \
    X(Main, DefaultVideoSettings_MPG, "DefaultVideoSettings_MPG", "Default MPG video &encoding settings") \
    X(Main, CopyAudioSettings, "CopyAudioSettings", "Cop&y audio encoding settings") \
    X(Main, PasteAudioSettings, "PasteAudioSettings", "Pas&te audio encoding settings") \
    X(Main, DefaultAudioSettings, "DefaultAudioSettings", "De&fault audio encoding settings") \
    X(Main, CopyAdvancedSettings, "CopyAdvancedSettings", "Copy adva&nced encoding settings") \
    X(Main, PasteAdvancedSettings, "PasteAdvancedSettings", "Paste advanced encod&ing settings") \
    X(Main, DefaultAdvancedSettings, "DefaultAdvancedSettings", "Defa&ult advanced encoding settings") \
    X(Main, DeleteUnfinished, "DeleteUnfinished", "The conversion has been aborted.\\n\\nDo you want to delete a partially converted file:\\n\\n%s") \
    X(Main, CannotDeleteFile, "CannotDeleteFile", "Cannot delete file:\\n\\n%s") \
    X(Main, CopyAsShellCommand, "CopyAsShellCommand", "Copy &as shell command") \
    X(Main, btnInfoAudioBitrates, "btnInfoAudioBitrates", "Audio bitrates allowed for each codec and sampling rate") \
    X(Main, btnFFParams, "btnFFParams", "FFmpeg options (help text)") \
    X(Main, btnInfoFourcc, "btnInfoFourcc", "Video tags (FourCC) on the web") \
    X(Main, StatusWithTime, "StatusWithTime", "%s (took %s)") \
    X(Main, CloseDuringConversion, "CloseDuringConversion", "A conversion is running.\\n\\nDo you want to abort it and close Quillon?") \
    X(Main, dlgSaveBAT_FilterSh, "dlgSaveBAT_FilterSh", "Shell scripts (*.sh)") \
    X(Main, PowerOffCaption, "PowerOffCaption", "Switching off") \
    X(Main, PowerOffCountdown, "PowerOffCountdown", "The conversion has finished.\\n\\nThe computer will be switched off in %s seconds.") \
    X(Main, PowerOffNow, "PowerOffNow", "&Switch off now") \
    X(Main, Cancel, "Cancel", "&Cancel") \
    X(Main, NotifyFinished, "NotifyFinished", "Conversion finished") \
    X(Main, NotifyFinishedText, "NotifyFinishedText", "Files converted: %s, failed: %s") \
    X(Main, actCheckFailed, "actCheckFailed", "Check &the failed files for another try") \
    X(Main, BatchScriptWritten, "BatchScriptWritten", "Batch script written: \"%s\"") \
    X(Main, HelpMissing, "HelpMissing", "The help file \"%s\" is missing.")

// Errors: 12 entries
#define QLN_APP_STRINGS_Errors(X) \
    X(Errors, Caption, "Caption", "Errors") \
    X(Errors, actClose, "actClose", "C&lose") \
    X(Errors, actSaveLog, "actSaveLog", "&Save log...") \
    X(Errors, actClearLog, "actClearLog", "&Clear log") \
    X(Errors, dlgSaveLogFilter, "dlgSaveLogFilter", "Log file") \
    X(Errors, Hint_NoSpaceLeft, "Hint_NoSpaceLeft", "Hint: the disk is full. Free some space or choose an output folder on another disk.") \
    X(Errors, Hint_PermissionDenied, "Hint_PermissionDenied", "Hint: permission denied. The input file cannot be read or the output folder cannot be written; check their permissions or choose another output folder.") \
    X(Errors, Hint_EncoderMissing, "Hint_EncoderMissing", "Hint: this FFmpeg build lacks an encoder the settings ask for. Choose another codec or use an FFmpeg build that has it.") \
    X(Errors, Hint_InvalidFrameSize, "Hint_InvalidFrameSize", "Hint: the video codec cannot encode this frame size. Choose another resolution (most codecs need an even width and height) or another codec.") \
    X(Errors, Hint_UnsupportedAudioFormat, "Hint_UnsupportedAudioFormat", "Hint: the audio codec does not support this sampling rate or number of channels. Choose another sampling rate, fewer channels or another audio codec.") \
    X(Errors, ReplaceFile, "ReplaceFile", "\"%s\" already exists.\\n\\nDo you want to replace it?") \
    X(Errors, Hint_NotMediaFile, "Hint_NotMediaFile", "Hint: FFmpeg did not recognise the input as a video or audio file. It may be damaged, incomplete or not a media file.")

// FileInfo: 58 entries
#define QLN_APP_STRINGS_FileInfo(X) \
    X(FileInfo, Caption, "Caption", "Video file properties") \
    X(FileInfo, lblDataStreams, "lblDataStreams", "&Data streams:") \
    X(FileInfo, ColumnTitle_Stream, "ColumnTitle_Stream", "Stream") \
    X(FileInfo, ColumnTitle_Details, "ColumnTitle_Details", "Details") \
    X(FileInfo, gbGeneralInfo, "gbGeneralInfo", "General info") \
    X(FileInfo, lblFileSize, "lblFileSize", "File size:") \
    X(FileInfo, lblDuration, "lblDuration", "Duration:") \
    X(FileInfo, lblFileName, "lblFileName", "File name:") \
    X(FileInfo, lblDirectory, "lblDirectory", "Directory:") \
    X(FileInfo, lblOverallBitrate, "lblOverallBitrate", "Overall bitrate:") \
    X(FileInfo, lblFormat, "lblFormat", "Format:") \
    X(FileInfo, lblNumberOfDataStreams, "lblNumberOfDataStreams", "Number of all data streams:") \
    X(FileInfo, lblNumberOfVideoStreams, "lblNumberOfVideoStreams", "Number of video streams:") \
    X(FileInfo, lblNumberOfAudioStreams, "lblNumberOfAudioStreams", "Number of audio streams:") \
    X(FileInfo, lblEncodedApplication, "lblEncodedApplication", "Encoded application:") \
    X(FileInfo, gbVideoStream, "gbVideoStream", "Video stream") \
    X(FileInfo, lblVideoCodec, "lblVideoCodec", "Video codec:") \
    X(FileInfo, lblVideoProfile, "lblVideoProfile", "Profile:") \
    X(FileInfo, lblVideoBitrate, "lblVideoBitrate", "Bitrate:") \
    X(FileInfo, lblResolution, "lblResolution", "Resolution:") \
    X(FileInfo, lblDisplayAspectRatio, "lblDisplayAspectRatio", "Display aspect:") \
    X(FileInfo, lblFPS, "lblFPS", "Frames / second:") \
    X(FileInfo, lblScanType, "lblScanType", "Scan type:") \
    X(FileInfo, lblPixelFormat, "lblPixelFormat", "Pixel format:") \
    X(FileInfo, lblBitsPerPixel, "lblBitsPerPixel", "Bits per pixel:") \
    X(FileInfo, lblVideoFrames, "lblVideoFrames", "Frames:") \
    X(FileInfo, lblVideoStreamSize, "lblVideoStreamSize", "Stream size:") \
    X(FileInfo, lblVideoEncodedLibrary, "lblVideoEncodedLibrary", "Encoded library:") \
    X(FileInfo, lblVideoStreamIndex, "lblVideoStreamIndex", "Stream index:") \
    X(FileInfo, gbAudioStream, "gbAudioStream", "Audio stream") \
    X(FileInfo, lblAudioCodec, "lblAudioCodec", "Audio codec:") \
    X(FileInfo, lblAudioProfile, "lblAudioProfile", "Profile:") \
    X(FileInfo, lblAudioBitrate, "lblAudioBitrate", "Bitrate:") \
    X(FileInfo, lblChannels, "lblChannels", "Channels:") \
    X(FileInfo, lblSamplingRate, "lblSamplingRate", "Sampling rate:") \
    X(FileInfo, lblBitsPerSample, "lblBitsPerSample", "Bits per sample:") \
    X(FileInfo, lblAudioFrames, "lblAudioFrames", "Samples:") \
    X(FileInfo, lblVideoDelay, "lblVideoDelay", "Video delay:") \
    X(FileInfo, lblAudioLanguage, "lblAudioLanguage", "Language:") \
    X(FileInfo, lblAudioStreamSize, "lblAudioStreamSize", "Stream size:") \
    X(FileInfo, lblAudioEncodedLibrary, "lblAudioEncodedLibrary", "Encoded library:") \
    X(FileInfo, lblAudioStreamIndex, "lblAudioStreamIndex", "Stream index:") \
    X(FileInfo, actClose, "actClose", "C&lose") \
    X(FileInfo, actSave, "actSave", "&Save...") \
    X(FileInfo, actCopy, "actCopy", "Copy to the Clipboard") \
    X(FileInfo, btnCopy, "btnCopy", "&Copy") \
    X(FileInfo, dlgSaveFilter, "dlgSaveFilter", "Text files (*.TXT)") \
    X(FileInfo, Report_Info, "Report_Info", "%s - Video file information report") \
    X(FileInfo, Report_File, "Report_File", "File:") \
    X(FileInfo, Report_GeneralInfo, "Report_GeneralInfo", "GENERAL INFO") \
    X(FileInfo, Report_FirstVideoStream, "Report_FirstVideoStream", "FIRST VIDEO STREAM") \
    X(FileInfo, Report_VideoStream, "Report_VideoStream", "VIDEO STREAM") \
    X(FileInfo, Report_FirstAudioStream, "Report_FirstAudioStream", "FIRST AUDIO STREAM") \
    X(FileInfo, Report_AudioStream, "Report_AudioStream", "AUDIO STREAM") \
    X(FileInfo, Report_DataStreams, "Report_DataStreams", "DATA STREAMS:") \
    X(FileInfo, Report_DataStream, "Report_DataStream", "DATA STREAM") \
    X(FileInfo, ScanType_Interlaced, "ScanType_Interlaced", "interlaced") \
    X(FileInfo, ScanType_Progressive, "ScanType_Progressive", "progressive")

// Options: 25 entries
#define QLN_APP_STRINGS_Options(X) \
    X(Options, Caption, "Caption", "Options") \
    X(Options, gbShortcuts, "gbShortcuts", "Shortcuts") \
    X(Options, chShortcutDesktop, "chShortcutDesktop", "On the Desktop") \
    X(Options, chShortcutStartMenu, "chShortcutStartMenu", "In the Start Menu") \
    X(Options, gbLanguage, "gbLanguage", "L&anguage") \
    X(Options, pnFileList, "pnFileList", "File list") \
    X(Options, lblFileListFontName, "lblFileListFontName", "&Font name:") \
    X(Options, lblFileListFontSize, "lblFileListFontSize", "Font &size:") \
    X(Options, lblFileListRowHeight, "lblFileListRowHeight", "&Row height:") \
    X(Options, chFileListAllowRowMoving, "chFileListAllowRowMoving", "Allow row &moving") \
    X(Options, chFileListAllowColumnMoving, "chFileListAllowColumnMoving", "Allow &column moving") \
    X(Options, chFileListGridLines, "chFileListGridLines", "Show &grid lines") \
    X(Options, chFileListFooter, "chFileListFooter", "S&how table footer") \
    X(Options, chFileListRowIndicator, "chFileListRowIndicator", "Show row &indicator") \
    X(Options, chFileListIconClickOpen, "chFileListIconClickOpen", "&Open file after click on the icon") \
    X(Options, lblDefaultVideoCodec, "lblDefaultVideoCodec", "&Default video encoder:") \
    X(Options, btnCreateShortcutOnDesktop, "btnCreateShortcutOnDesktop", "Create shortc&ut on the Desktop") \
    X(Options, lblFileAnalysis, "lblFileAnalysis", "Fil&e analysis:") \
    X(Options, FileAnalysis_Full, "FileAnalysis_Full", "Full") \
    X(Options, FileAnalysis_Quick, "FileAnalysis_Quick", "Quick") \
    X(Options, FileAnalysis_None, "FileAnalysis_None", "None") \
    X(Options, lblTheme, "lblTheme", "&Theme:") \
    X(Options, Theme_System, "Theme_System", "System") \
    X(Options, Theme_Light, "Theme_Light", "Light") \
    X(Options, Theme_Dark, "Theme_Dark", "Dark")

// Progress: 28 entries
#define QLN_APP_STRINGS_Progress(X) \
    X(Progress, Caption, "Caption", "Conversion") \
    X(Progress, lblEncoderOutput, "lblEncoderOutput", "&Encoder output:") \
    X(Progress, lblStatus, "lblStatus", "Status:") \
    X(Progress, lblInputFile, "lblInputFile", "Input file:") \
    X(Progress, lblOutputFile, "lblOutputFile", "Output file:") \
    X(Progress, lblProgress, "lblProgress", "Progress:") \
    X(Progress, btnAbort, "btnAbort", "&Abort") \
    X(Progress, chHideEncoderOutput, "chHideEncoderOutput", "&Don't show encoder output") \
    X(Progress, ConvertingFile, "ConvertingFile", "Converting file:") \
    X(Progress, Conversion_Pass, "Conversion_Pass", "pass") \
    X(Progress, Conversion_Speed, "Conversion_Speed", "Speed:") \
    X(Progress, Conversion_FramesPerSecond, "Conversion_FramesPerSecond", "frames/sec") \
    X(Progress, Conversion_Frame, "Conversion_Frame", "Frame:") \
    X(Progress, Conversion_Complete, "Conversion_Complete", "Complete:") \
    X(Progress, chCloseAfterConversion, "chCloseAfterConversion", "&Close after conversion") \
    X(Progress, btnPause, "btnPause", "&Pause") \
    X(Progress, btnResume, "btnResume", "&Resume") \
    X(Progress, Paused, "Paused", "Paused") \
    X(Progress, lblElapsed, "lblElapsed", "Elapsed:") \
    X(Progress, lblTimeLeft, "lblTimeLeft", "Time left:") \
    X(Progress, TimeLeftFileAndAll, "TimeLeftFileAndAll", "%s for this file, %s for all files") \
    X(Progress, TitleTimeLeft, "TitleTimeLeft", "%s left") \
    X(Progress, RunningFiles, "RunningFiles", "Running files:") \
    X(Progress, RunningFile, "RunningFile", "File") \
    X(Progress, RunningProgress, "RunningProgress", "Progress") \
    X(Progress, RunningSpeed, "RunningSpeed", "Speed") \
    X(Progress, RunningTimeLeft, "RunningTimeLeft", "Time left") \
    X(Progress, FilesDone, "FilesDone", "%s of %s files done")

// About: 7 entries
#define QLN_APP_STRINGS_About(X) \
    X(About, Caption, "Caption", "About") \
    X(About, Donation, "Donation", "DONATION") \
    X(About, Version, "Version", "Version") \
    X(About, ConvertsWith, "ConvertsWith", "Converts video and audio files in batches with %s.") \
    X(About, FactsFrom, "FactsFrom", "File facts from %s.") \
    X(About, BuiltWith, "BuiltWith", "Built with %s.") \
    X(About, ToolNotFound, "ToolNotFound", "not found")

// ToolsInfo: 2 entries
#define QLN_APP_STRINGS_ToolsInfo(X) \
    X(ToolsInfo, Caption, "Caption", "Tools info") \
    X(ToolsInfo, actClose, "", "C&lose") /* a copy of Errors.actClose */

// CheckUpdate: 13 entries
#define QLN_APP_STRINGS_CheckUpdate(X) \
    X(CheckUpdate, Caption, "Caption", "Check for updates") \
    X(CheckUpdate, actClose, "", "C&lose") /* a copy of Errors.actClose */ \
    X(CheckUpdate, lblUserVersion, "lblUserVersion", "Your version:") \
    X(CheckUpdate, lblLatestVersion, "lblLatestVersion", "The latest version:") \
    X(CheckUpdate, CheckNow, "CheckNow", "&Check now") \
    X(CheckUpdate, NoUpdates, "NoUpdates", "No updates available.\\nYou have the latest version.") \
    X(CheckUpdate, UpdatesAvailable, "UpdatesAvailable", "A new version is available.") \
    X(CheckUpdate, CheckingUpdates, "CheckingUpdates", "Checking available updates.\\nPlease wait...") \
    X(CheckUpdate, ConnectionFailed, "ConnectionFailed", "Can not connect to the server.\\nPlease try again in a few minutes.") \
    X(CheckUpdate, GoToDownloadPage, "GoToDownloadPage", "Go to the download page...") \
    X(CheckUpdate, btnDownload, "btnDownload", "&Download...") \
    X(CheckUpdate, CannotCheck, "CannotCheck", "Unable to retrieve version information.\\nPlease try again in a few minutes.") \
    X(CheckUpdate, FromPackageManager, "FromPackageManager", "Updates of %s come with your system's package manager.")

#define QLN_APP_STRINGS(X) \
    QLN_APP_STRINGS_Main(X) \
    QLN_APP_STRINGS_Errors(X) \
    QLN_APP_STRINGS_FileInfo(X) \
    QLN_APP_STRINGS_Options(X) \
    QLN_APP_STRINGS_Progress(X) \
    QLN_APP_STRINGS_About(X) \
    QLN_APP_STRINGS_ToolsInfo(X) \
    QLN_APP_STRINGS_CheckUpdate(X)
// clang-format on
