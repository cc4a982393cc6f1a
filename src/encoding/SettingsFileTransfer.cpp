#include "encoding/SettingsFileTransfer.h"

#include "encoding/SettingsLists.h"

// The settings file keeps list entries and pages as these numbers.
static_assert(AviCodec::Xvid == 0 && AviCodec::H264 == 2);
static_assert(EncodingSettings::tsAvi == 0 && EncodingSettings::tsMpg == 1);

void ApplyMainSettings(EncodingSettings &s, const MainSettings &main)
{
    s.pcVideoFormat = main.OutputFormat;
    s.rbOutDir = main.output.rbOutDir;
    s.edOutDir = main.output.edOutDir;
    s.cbOutputExists = main.output.cbOutputExists;
    s.cbAfterConversion = main.output.cbAfterConversion;
    s.chKeepDates = main.output.chKeepDates;
    s.cbSimultaneousConversions = main.output.cbSimultaneousConversions;
    s.chOutDirKeepTree = main.output.chOutDirKeepTree;
}

void StoreMainSettings(MainSettings &main, const EncodingSettings &s)
{
    main.OutputFormat = s.pcVideoFormat;
    main.output = {s.rbOutDir, s.edOutDir, s.cbOutputExists, s.cbAfterConversion, s.chKeepDates,
        s.cbSimultaneousConversions, s.chOutDirKeepTree};
}
