#pragma once

#include "analysis/VideoFileInfo.h"

// What any analysis, whatever the tools answered, must leave in the record:
// finite, non-negative numbers, shares of at most 100 %, counts that fit.
void checkVideoFileInfo(const TVideoFileInfo &info);
