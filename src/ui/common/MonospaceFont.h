#pragma once

#include <QFont>

struct TFontParams;

// The font of the report views: TAppParams.MonospaceFont, or the system's
// fixed font when none of the preferred families is installed.
QFont MonospaceFont(const TFontParams &params);
