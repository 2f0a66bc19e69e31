#!/bin/sh
# The run command: installs what is missing, builds, lays out a demo CD
# folder in the build tree and starts Corvel from it under Wine. Without a
# display it runs on a private Xvfb, saves a screenshot and says where.
# Usage: run.sh [--quarro] [--fennick]
#   --quarro   the Quarro edition (Components holding Quarro.cpn alone)
#              instead of the full edition (Tobrin.cpn and Maelis.cpn)
#   --fennick  starts the test-drive program instead of Corvel
set -eu
program=Corvel.exe title=CorvelV4.0 edition=full
for option in "$@"; do
    case $option in
        --quarro) edition=quarro ;;
        --fennick) program=Fennick.exe title=测试光盘 ;;
        *) echo "usage: run.sh [--quarro] [--fennick]" >&2; exit 2 ;;
    esac
done
cd "$(dirname "$0")/.."
root=$(pwd)
./scripts/install-deps.sh
. ./scripts/wine-session.sh

# The shipped build is i686; where 32-bit code cannot run, the x86_64 build
# of the same sources stands in.
preset=win64 loader=/usr/lib/wine/wine64
if wine_can_run_32bit; then preset=win32 loader=/usr/lib/wine/wine; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Corvel Fennick tobrin maelis quarro fixture_installer >/dev/null

build="$root/build/$preset"
demo="$build/demo"
./scripts/demo-folder.sh "$build" "$demo" "$edition"
echo "Demo CD folder: $demo"

trap wine_session_stop EXIT
export WINEPREFIX="$build/wineprefix-demo"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    wine_prefix_init "$WINEPREFIX" "$preset"
    cd "$demo" && "$loader" "$program"
else
    wine_display_start
    wine_prefix_init "$WINEPREFIX" "$preset"
    (cd "$demo" && "$loader" "$program" >/dev/null 2>&1 &)
    # The first start in a new prefix builds Wine's font cache: allow a minute.
    for _ in $(seq 300); do xdotool search --name "$title" >/dev/null 2>&1 && break; sleep 0.2; done
    sleep 3  # let the window paint its icons
    import -window root "$build/demo-screenshot.png"
    echo "No display: $program ran on a private Xvfb; screenshot saved to $build/demo-screenshot.png"
fi
