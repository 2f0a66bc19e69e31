#!/bin/sh
# Lays out a demo CD folder from a build tree: Corvel.exe, its components,
# Fennick.exe as an author's disc holds it, the demo catalogue, ExtTools.ini,
# and demo installers (copies of our fixture installer) where the catalogue
# expects them.
# Usage: demo-folder.sh BUILD_TREE TARGET_FOLDER [full|quarro]
#   full (default): Tobrin.cpn and Maelis.cpn, the full edition;
#   quarro: Quarro.cpn alone, the edition that starts every installer
#   through the shell (and therefore has no patch or settings steps).
set -eu
build=$1 target=$2 edition=${3:-full}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$target"
mkdir -p "$target/Components"
cp "$build/ui/Corvel.exe" "$build/testdrive/Fennick.exe" "$target/"
if [ "$edition" = quarro ]; then
    cp "$build/components/quarro/Quarro.cpn" "$target/Components/"
else
    cp "$build/components/tobrin/Tobrin.cpn" "$build/components/maelis/Maelis.cpn" "$target/Components/"
fi
cp "$source_dir/examples/demo/Corvel.cvx" "$source_dir/examples/demo/ExtTools.ini" "$target/"
installer="$build/tests/fixtures/installer/installer.exe"
for program in "Office Suite/setup.exe" Office/sheet.exe Office/slides.exe Net/browser.exe Net/download.exe \
               Net/mail.exe Media/player.exe Media/viewer.exe System/zip.exe System/cleaner.exe \
               ../Patch/sheet_chs.exe; do
    mkdir -p "$(dirname "$target/Soft/$program")"
    cp "$installer" "$target/Soft/$program"
done
printf '' > "$target/Soft/Office/reader.msi"
printf '@echo off\r\necho demo\r\n' > "$target/Soft/System/setup.bat"
mkdir -p "$target/Reg"
printf 'REGEDIT4\r\n' > "$target/Reg/mail.reg"
