# Sourced by the test, run and screenshot scripts: private Xvfb displays,
# and Wine prefixes whose wineserver stays up while the script runs.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=zh_CN.UTF-8
SESSION_PREFIXES=""
SESSION_DISPLAYS=""

# Starts Xvfb on a free display of SIZE (default 1280x800) and exports DISPLAY.
wine_display_start() {
    displayfd=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${1:-1280x800}x24" -nolisten tcp 3>"$displayfd" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do [ -s "$displayfd" ] && break; sleep 0.1; done
    DISPLAY=":$(cat "$displayfd")"
    rm -f "$displayfd"
    SESSION_DISPLAYS="$SESSION_DISPLAYS $XVFB_PID"
    export DISPLAY
}

wine_loader() {
    if [ "$1" = win32 ]; then echo /usr/lib/wine/wine; else echo /usr/lib/wine/wine64; fi
}

# Creates the prefix PREFIX for ARCH (win64 or win32) when it is new, and
# keeps its wineserver running until wine_session_stop.
wine_prefix_init() {
    wine_prefix_create "$1" "$2" || return 1
    wine_prefix_start "$1" "$2"
}

# Makes the prefix PREFIX for ARCH when it is new; no server is left running.
wine_prefix_create() {
    prefix=$1 arch=$2 loader=$(wine_loader "$2")
    if [ ! -f "$prefix/system.reg" ]; then
        echo "Creating the Wine prefix $prefix" >&2
        WINEPREFIX=$prefix WINEARCH=$arch "$loader" wineboot --init >/dev/null 2>&1 || return 1
        # A crashing test must fail, not wait for someone to close a dialog.
        WINEPREFIX=$prefix "$loader" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1
        # The CJK font Wine picks by default draws small menu text from
        # bitmaps with missing strokes; an outline font reads cleanly.
        for font in SimSun NSimSun 宋体 "MS Shell Dlg" "MS Shell Dlg 2" Tahoma "Microsoft YaHei"; do
            WINEPREFIX=$prefix "$loader" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /t REG_SZ \
                /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
        done
        # The server these commands started would refuse to become
        # persistent; every test would then start its own server and could
        # reach the old one while it shuts down.
        WINEPREFIX=$prefix /usr/lib/wine/wineserver -w
    fi
}

# Keeps the server of the made prefix PREFIX running until wine_session_stop.
wine_prefix_start() {
    prefix=$1 loader=$(wine_loader "$2")
    WINEPREFIX=$prefix /usr/lib/wine/wineserver -p >/dev/null 2>&1 || true
    # Start the prefix's background services now: started by the first test,
    # they would inherit its output pipe and keep CTest waiting for ever.
    WINEPREFIX=$prefix "$loader" wineboot >/dev/null 2>&1 </dev/null
    SESSION_PREFIXES="$SESSION_PREFIXES $prefix"
}

wine_can_run_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

wine_session_stop() {
    for prefix in $SESSION_PREFIXES; do
        WINEPREFIX=$prefix /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true  # none left running
    done
    for pid in $SESSION_DISPLAYS; do kill "$pid" 2>/dev/null || true; done
    return 0
}

# Test lanes, so that Windows test programs run side by side: lane N of the
# folder LANES has an X display of its own (no shared clipboard, focus or
# hot keys) and, for each test program, a fresh copy of the made prefix
# PREFIX (no named objects, registry values or processes that another
# program left). LANES/N.env tells wine-run.sh; CTest hands out the lanes
# from LANES/lanes.json, and CORVEL_WINE_LANES names the folder to the runner.
wine_lanes_start() {
    lanes=$1 prefix=$2 arch=$3 count=$4
    wine_prefix_create "$prefix" "$arch" || return 1
    mkdir -p "$lanes"
    ids=""
    for n in $(seq "$count"); do
        wine_display_start
        printf 'WINEPREFIX=%s\nDISPLAY=%s\nLANE_BASE=%s\nLANE_ARCH=%s\nexport WINEPREFIX DISPLAY\n' \
            "$lanes/prefix-$n" "$DISPLAY" "$prefix" "$arch" >"$lanes/$n.env"
        SESSION_PREFIXES="$SESSION_PREFIXES $lanes/prefix-$n"
        ids="$ids${ids:+,}{\"id\":\"$n\",\"slots\":1}"
    done
    printf '{"version":{"major":1,"minor":0},"local":[{"wine_lanes":[%s]}]}\n' "$ids" >"$lanes/lanes.json"
}

# Takes lane N of the folder LANES for the next test program: its display,
# and its prefix made afresh.
wine_lane_take() {
    . "$1/$2.env"
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX" && cp -a "$LANE_BASE" "$WINEPREFIX" || return 1
    wine_prefix_start "$WINEPREFIX" "$LANE_ARCH"
}
