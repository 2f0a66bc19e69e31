#!/bin/sh
# Runs a Windows program under Wine with the build tree's private prefix.
# 64-bit programs go to wine64, 32-bit ones to wine.
set -eu
exe=$1
shift

# CTest gave this test a lane (see wine_lanes_start): its display and a
# fresh prefix.
lane=${CTEST_RESOURCE_GROUP_0_WINE_LANES:-}
if [ -n "$lane" ] && [ -n "${CORVEL_WINE_LANES:-}" ]; then
    lane=${lane#id:}
    . "$(dirname "$0")/wine-session.sh"
    wine_lane_take "$CORVEL_WINE_LANES" "${lane%%,*}"
fi
if [ -z "${WINEPREFIX:-}" ]; then
    dir=$(cd "$(dirname "$exe")" && pwd)
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
    export WINEPREFIX="$dir/wineprefix"
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=zh_CN.UTF-8

case "$(od -An -tx1 -j"$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')" -N6 "$exe" | tr -d ' ')" in
    50450000648*) loader=/usr/lib/wine/wine64 ;;
    *) loader=/usr/lib/wine/wine ;;
esac
exec "$loader" "$exe" "$@"
