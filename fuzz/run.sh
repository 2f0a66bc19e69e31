#!/bin/sh
# Fuzzes for a while from the seeds. A crashing input is copied into the
# source tree's regressions folder, so that it is replayed from then on.
set -eu
fuzzer=$1 seconds=$2 work=$3 seeds=$4 regressions=$5
mkdir -p "$work" "$work.artifacts"
if "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
      -artifact_prefix="$work.artifacts/" "$work" "$seeds" 2>"$work.log"; then
    tail -n 12 "$work.log"
    exit 0
fi
tail -n 60 "$work.log"
for crash in "$work.artifacts"/*; do
    [ -f "$crash" ] && cp "$crash" "$regressions/" && echo "kept $(basename "$crash") in $regressions"
done
exit 1
