#!/bin/sh
# Builds the shipped i686 programs in a fresh tree and writes the two
# release archives:
#   dist/Corvel-<version>-win32.zip         Corvel.exe, Components\Tobrin.cpn
#                                           and Maelis.cpn, Fennick.exe, the
#                                           demo catalogue Corvel.cvx,
#                                           ExtTools.ini, the user guide
#                                           使用说明.html with its screenshots
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
    cp examples/demo/Corvel.cvx "$folder/"
    cp docs/使用说明.html "$folder/"
    mkdir "$folder/screenshots"
    cp docs/screenshots/*.png "$folder/screenshots/"
}

# Writes archive $1 from folder $2: names in a fixed order (UTF-8, flagged
# as such), one fixed time, no extra fields.
archive() {
    python3 - "$1" "$2" <<'PYTHON'
import os, sys, zipfile
target, folder = sys.argv[1], sys.argv[2]
names = sorted(os.path.relpath(os.path.join(root, name), folder).replace(os.sep, "/")
               for root, _, files in os.walk(folder) for name in files)
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    for name in names:
        entry = zipfile.ZipInfo(name, date_time=(2000, 1, 1, 0, 0, 0))
        entry.external_attr = 0o644 << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(folder, name), "rb") as data:
            archive.writestr(entry, data.read())
PYTHON
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
