#!/bin/sh
# Builds the shipped i686 programs in a fresh tree and writes the two
# release archives:
#   dist/Corvel-<version>-win32.zip         Corvel.exe, Components\Tobrin.cpn
#                                           and Maelis.cpn, Fennick.exe,
#                                           ExtTools.ini, Guide.txt
#   dist/Corvel-<version>-Quarro-win32.zip  the same with Components\Quarro.cpn
#                                           alone
# No time stamps go into the programs or the archives, so a second run gives
# the same bytes.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

version=$(sed -n 's/^project(Corvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
build=build/dist-win32
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target Corvel Fennick tobrin maelis quarro >/dev/null

# Lays out one edition in folder $1 with the components that follow.
lay_out() {
    folder=$1
    shift
    rm -rf "$folder"
    mkdir -p "$folder/Components"
    cp "$build/ui/Corvel.exe" "$build/testdrive/Fennick.exe" examples/ExtTools.ini "$folder/"
    for component in "$@"; do cp "$component" "$folder/Components/"; done
    # The guide for Notepad: UTF-8 with its mark, CR LF.
    { printf '\357\273\277'; sed 's/$/\r/' docs/guide.md; } >"$folder/Guide.txt"
    find "$folder" -exec touch -d '2000-01-01 00:00:00 UTC' {} + -exec chmod u=rwX,go=rX {} +
}

# Writes archive $1 from folder $2: a fixed order, no extra fields.
archive() {
    rm -f "$1"
    (cd "$2" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | TZ=UTC zip -X -q -D "$1" -@)
}

mkdir -p dist
out=$(pwd)/dist
stage=$build/stage
lay_out "$stage/full" "$build/components/tobrin/Tobrin.cpn" "$build/components/maelis/Maelis.cpn"
archive "$out/Corvel-$version-win32.zip" "$stage/full"
lay_out "$stage/quarro" "$build/components/quarro/Quarro.cpn"
archive "$out/Corvel-$version-Quarro-win32.zip" "$stage/quarro"
ls -l "$out"/Corvel-"$version"-*.zip
sha256sum "$out"/Corvel-"$version"-*.zip
