#!/bin/sh
# Writes packaging/mime-types.txt: the video and audio types the shared MIME
# database gives the extensions Quillon accepts, for MimeType= of the desktop
# entry. Run it after a change to the extension table and commit the result
# (the build does not depend on the build machine's MIME database).
#   sh scripts/mime-types.sh [PATH/TO/quillon-cli]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$here/build/bin/quillon-cli}
globs=${MIME_DIR:-/usr/share/mime}/globs2

"$cli" --list-extensions | tr 'A-Z' 'a-z' |
    awk -F: 'NR == FNR { wanted["*." $0] = 1; next }
             /^#/ { next }
             ($3 in wanted) && $2 ~ /^(video|audio)\// { print $2 }' - "$globs" |
    LC_ALL=C sort -u >"$here/packaging/mime-types.txt"
wc -l <"$here/packaging/mime-types.txt"
