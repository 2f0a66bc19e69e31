#!/bin/sh
# The test command: installs what is missing, builds the presets and runs
# every test (native under ASan+UBSan, Windows under Wine, fuzzers briefly).
# The Windows test programs wait far more than they compute, so they run
# side by side in lanes, each with a Wine prefix and an X display of its own
# (scripts/wine-session.sh), while the next preset builds at a lower priority.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
lane_count=${CORVEL_TEST_LANES:-4}
log_dir=$root/build/test-logs

./scripts/install-deps.sh || exit 1
. ./scripts/wine-session.sh
trap wine_session_stop EXIT
rm -rf "$log_dir" && mkdir -p "$log_dir"

step() { echo; echo "== $*"; }

# Configures and builds a preset; the rest goes to the build (a --target).
build() {
    cmake --preset "$1" >/dev/null && $niced cmake --build --preset "$@"
}
niced=""

# ctest of PRESET under Wine in lanes of the folder LANES, its output kept in
# the log NAME; the remaining arguments go to ctest.
wine_tests() {
    preset=$1 lane_folder=$2 name=$3
    shift 3
    CORVEL_WINE_LANES=$lane_folder ctest --preset "$preset-lanes" -j "$((lane_count + 2))" "$@" \
        >"$log_dir/$name.log" 2>&1
    echo $? >"$log_dir/$name.status"
}

# Shows a log kept by a background step; fails when its step failed.
show() {
    step "$2"
    cat "$log_dir/$1.log"
    [ "$(cat "$log_dir/$1.status")" = 0 ]
}

can32=0
wine_can_run_32bit && can32=1

step "native: configure and build"
build native || exit 1

step "win64: configure and build (the same sources, for Wine here)"
build win64 || exit 1

failed=0
wine_lanes_start "$root/build/win64/wine-lanes" "$root/build/win64/wineprefix" win64 "$lane_count" || exit 1
wine_tests win64 "$root/build/win64/wine-lanes" win64 &
win64_tests=$!

# The shipped i686 programs always build (their export tables are checked);
# their test programs only where 32-bit code can run them.
if [ "$can32" = 1 ]; then
    step "win32: configure and build (the shipped i686 programs and their tests), beside the win64 tests"
    niced=nice build win32 || exit 1
else
    step "win32: configure and build (the shipped i686 programs), beside the win64 tests"
    niced=nice build win32 --target corvel_programs || exit 1
fi

step "native tests (ASan + UBSan) and fuzzers, beside the win64 tests"
nice ctest --preset native -j2 || failed=1

if [ "$can32" = 1 ]; then
    wine_lanes_start "$root/build/win32/wine-lanes" "$root/build/win32/wineprefix" win32 "$lane_count" || exit 1
    # The shipped programs as users run them: 32-bit code on 64-bit Windows.
    wine_lanes_start "$root/build/win32/wine-lanes-wow64" "$root/build/win32/wineprefix-wow64" win64 "$lane_count" ||
        exit 1
fi

wait "$win64_tests"
show win64 "Windows tests under Wine (x86_64 build)" || failed=1

if [ "$can32" = 1 ]; then
    wine_tests win32 "$root/build/win32/wine-lanes" win32 &
    win32_tests=$!
    wine_tests win32 "$root/build/win32/wine-lanes-wow64" wow64 \
        -R '^(shell|ui|tools|fennick|component_host|engine|quarro|maelis|tobrin|corvel_e2e|real_installer)_tests' &
    wow64_tests=$!
    wait "$win32_tests" "$wow64_tests"
    show win32 "Windows tests under Wine (i686 build, 32-bit prefix)" || failed=1
    show wow64 "Windows tests under Wine (i686 build in a 64-bit prefix: shell, window, tools, Fennick, components, host, end to end, real installers)" ||
        failed=1
elif [ -e /usr/lib/wine/wine ]; then
    step "i686 tests skipped: this machine cannot run 32-bit code (the kernel's 32-bit emulation is off)"
else
    step "i686 tests skipped: wine32 could not be installed (the package lists of i386 were incomplete)"
fi

echo
[ "$failed" = 0 ] && echo "ALL TESTS PASSED" || echo "SOME TESTS FAILED"
exit "$failed"
