#!/bin/sh
# Runs a fuzzer once over every file of the given folders.
set -eu
fuzzer=$1
shift
files=$(find "$@" -type f ! -name '.gitkeep' | sort)
[ -n "$files" ] || { echo "no inputs in $*" >&2; exit 1; }
# shellcheck disable=SC2086
exec "$fuzzer" -runs=1 $files
