#!/bin/sh
# Whole-program benchmark: builds the x86_64 programs and times Corvel.exe
# under Wine (start-up, switching categories). Arguments go to the benchmark:
#   --runs=N          measured runs of each figure (5)
#   --only=SECTION    start, switch, edit, install, check or scale
#   --categories=N    categories of the scale section's start-up (10000)
#   --program=PATH    time another Corvel.exe, e.g. a copy of an older build
#   --quarro=PATH     the Quarro.cpn to put beside it (the i686 build's own
#                     for the i686 Corvel.exe, which needs a wine32 prefix)
# Uses a Wine prefix of its own so tests are not disturbed.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)

cmake --preset win64 >/dev/null || exit 1
cmake --build --preset win64 --target corvel_benchmark || exit 1

. ./scripts/wine-session.sh
wine_display_start
trap wine_session_stop EXIT
wine_prefix_init "$root/build/win64/wineprefix-bench" win64 || exit 1

WINEPREFIX="$root/build/win64/wineprefix-bench" /usr/lib/wine/wine64 \
    "$root/build/win64/bench/wine/corvel_benchmark.exe" "$@"
