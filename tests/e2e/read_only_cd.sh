#!/bin/sh
# Lays out a program folder, makes it and its files unchangeable as a burnt
# disc is (chattr +i: even root, which Wine runs as here, cannot write
# there), and runs the read-only disc test of the end-to-end program on it.
# Usage: read_only_cd.sh RUNNER E2E_TESTS CORVEL_EXE QUARRO_CPN
set -eu
runner=$1 tests=$2 corvel=$3 quarro=$4
folder=$(mktemp -d "${TMPDIR:-/tmp}/corvel-read-only-XXXXXX")
cleanup() { chattr -R -i "$folder" 2>/dev/null || true; rm -rf "$folder"; }
trap cleanup EXIT

mkdir "$folder/Components"
cp "$corvel" "$folder/Corvel.exe"
cp "$quarro" "$folder/Components/Quarro.cpn"
printf '[Small]\r\n<Name=First\002SrcPath=Corvel.exe>\r\n<Name=Second\002SrcPath=Corvel.exe>\r\n[Bulk]\r\n' \
    >"$folder/Corvel.cvx"
if ! chattr -R +i "$folder" 2>/dev/null; then
    echo "skipped: this file system cannot make $folder unchangeable (chattr +i)"
    exit 77
fi
CORVEL_READ_ONLY_CD=$folder "$runner" "$tests" --gtest_filter='ReadOnlyCdTest.*' --gtest_color=no
