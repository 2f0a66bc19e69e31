#!/bin/sh
# Takes the screenshots kept in docs/screenshots: the main window empty and
# filled, its menus and the about box, in Wine's virtual desktop on Xvfb.
# Usage: screenshots.sh [BUILD_TREE]   (default build/win64)
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/${1:-build/win64}"
out=docs/screenshots
mkdir -p "$out"
. ./scripts/wine-session.sh
wine_display_start
trap wine_session_stop EXIT
export WINEPREFIX="$build/wineprefix-screenshots"
wine_prefix_init "$WINEPREFIX" win64
wineserver_kill() { WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null; sleep 1; wine_prefix_init "$WINEPREFIX" win64; }

# Starts Corvel from FOLDER and waits until the virtual desktop shows it.
start_corvel() {
    (cd "$1" && /usr/lib/wine/wine64 explorer /desktop=corvel,1280x800 Corvel.exe >/dev/null 2>&1 &)
    for _ in $(seq 100); do
        desktop=$(xdotool search --name 'corvel' 2>/dev/null | head -n 1) && [ -n "$desktop" ] && break
        sleep 0.2
    done
    [ -n "$desktop" ] || { echo "no Wine desktop appeared" >&2; exit 1; }
    sleep 3  # let the window paint its icons
    xdotool windowfocus "$desktop" 2>/dev/null || true
}
shot() { sleep 1; import -window root "$out/$1.png"; echo "saved $out/$1.png"; }
keys() { for key in "$@"; do xdotool key "$key"; sleep 0.3; done; }

folder="$build/screenshot-demo"
./scripts/demo-folder.sh "$build" "$folder"

rm -f "$folder/Corvel.cvx"
start_corvel "$folder"
shot main-empty
keys alt+c Down Down Down Right
shot menu-category-empty
keys Escape Escape Escape
wineserver_kill

cp examples/demo/Corvel.cvx "$folder/"
start_corvel "$folder"
xdotool mousemove 60 190 click 1
shot main-filled
keys alt+c Down Down Down Right
shot menu-switch-to
keys Escape Escape Escape alt+i
shot menu-item
keys Down Down Down Down Down Down Down Down Right
shot menu-move-to
keys Escape Escape Escape alt+t
shot menu-tools
keys Escape Escape alt+h a
shot about
keys Return
