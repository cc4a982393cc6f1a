#pragma once

#include <QString>

// The folder for this user's cached data of Quillon (facts that can be
// found again, so losing them costs only time): $XDG_CACHE_HOME/quillon,
// else ~/.cache/quillon. Empty when neither is known. It may not exist yet.
QString UserCacheDir();
