# Sourced by the test and run scripts: a private Xvfb display and a Wine
# prefix per build tree, with wineserver kept running for the whole session.

wine_session_start() {
    build=$1
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export LC_ALL=zh_CN.UTF-8
    if [ -z "${CORVEL_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
        displayfd=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$displayfd" >/dev/null 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 50); do [ -s "$displayfd" ] && break; sleep 0.1; done
        DISPLAY=":$(cat "$displayfd")"
        rm -f "$displayfd"
        export DISPLAY
    fi
    for preset in win64 win32; do
        prefix="$build/$preset/wineprefix"
        [ -d "$build/$preset" ] || continue
        if [ "$preset" = win32 ] && ! wine_can_run_32bit; then continue; fi
        WINEPREFIX=$prefix wine_prefix_init "$preset" || return 1
    done
}

wine_prefix_init() {
    loader=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64
    [ "$1" = win32 ] && loader=/usr/lib/wine/wine server=/usr/lib/wine/wineserver
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX" >&2
        WINEARCH=$1 "$loader" wineboot --init >/dev/null 2>&1 || return 1
        # A crashing test must fail, not wait for someone to close a dialog.
        "$loader" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    fi
    "$server" -p >/dev/null 2>&1 || true
}

wine_can_run_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

wine_session_stop() {
    for prefix in "$build"/win*/wineprefix; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix /usr/lib/wine/wineserver64 -k >/dev/null 2>&1
    done
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    return 0
}
