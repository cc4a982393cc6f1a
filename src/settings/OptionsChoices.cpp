#include "settings/OptionsChoices.h"

TFileAnalysis FileAnalysisOfEntry(int entry)
{
    switch (entry) {
    case 1:
        return faQuick;
    case 2:
        return faNone;
    default:
        return faFull;
    }
}

int FileAnalysisEntry(TFileAnalysis mode)
{
    switch (mode) {
    case faNone:
        return 2;
    case faQuick:
        return 1;
    default:
        return 0;
    }
}

int DefaultCodecOfEntry(int entry)
{
    return entry == 1 ? AviCodecXvid : AviCodecH264;
}

int DefaultCodecEntry(int aviCodec)
{
    return aviCodec == AviCodecXvid ? 1 : 0;
}

AppTheme ThemeOfEntry(int entry)
{
    switch (entry) {
    case 1:
        return AppTheme::Light;
    case 2:
        return AppTheme::Dark;
    default:
        return AppTheme::System;
    }
}

int ThemeEntry(AppTheme theme)
{
    return int(theme);
}
