#include "filelist/GridInfo.h"

void ClearGridInfo(TGridInfo &info)
{
    info = TGridInfo{};
}
