#!/bin/sh
# The test command: installs what is missing, builds every preset and runs
# every test (native under ASan+UBSan, Windows under Wine, fuzzers briefly).
set -u
cd "$(dirname "$0")/.."
root=$(pwd)

./scripts/install-deps.sh || exit 1

failed=0
step() { echo; echo "== $*"; }

step "native: configure and build"
cmake --preset native >/dev/null && cmake --build --preset native || exit 1

step "win32: configure and build (the shipped i686 programs)"
cmake --preset win32 >/dev/null && cmake --build --preset win32 || exit 1

step "win64: configure and build (the same sources, for Wine here)"
cmake --preset win64 >/dev/null && cmake --build --preset win64 || exit 1

. ./scripts/wine-session.sh
wine_display_start
trap wine_session_stop EXIT
wine_prefix_init "$root/build/win64/wineprefix" win64 || exit 1
if wine_can_run_32bit; then
    wine_prefix_init "$root/build/win32/wineprefix" win32 || exit 1
    # The shipped programs as users run them: 32-bit code on 64-bit Windows.
    wine_prefix_init "$root/build/win32/wineprefix-wow64" win64 || exit 1
fi

step "native tests (ASan + UBSan) and fuzzers"
ctest --preset native -j2 || failed=1

step "Windows tests under Wine (x86_64 build)"
ctest --preset win64 || failed=1

if wine_can_run_32bit; then
    step "Windows tests under Wine (i686 build, 32-bit prefix)"
    ctest --preset win32 || failed=1
    step "Windows tests under Wine (i686 build in a 64-bit prefix: shell, window, components, host, end to end, real installers)"
    WINEPREFIX="$root/build/win32/wineprefix-wow64" \
        ctest --preset win32 -R '^(shell|ui|component_host|engine|quarro|maelis|tobrin|corvel_e2e|real_installer)_tests$' || failed=1
else
    if [ -e /usr/lib/wine/wine ]; then
        step "i686 tests skipped: this machine cannot run 32-bit code (the kernel's 32-bit emulation is off)"
    else
        step "i686 tests skipped: wine32 could not be installed (the package lists of i386 were incomplete)"
    fi
fi

echo
[ "$failed" = 0 ] && echo "ALL TESTS PASSED" || echo "SOME TESTS FAILED"
exit "$failed"
