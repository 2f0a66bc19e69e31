#!/bin/sh
# The run command. Until the main window exists, it shows how Corvel reads
# the sample catalogue: cvxtool dumps it as JSON and lists the dropped lines.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target cvxtool >/dev/null
exec ./build/native/cvxtool/cvxtool dump "${1:-examples/Corvel.cvx}"
