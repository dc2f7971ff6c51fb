#!/usr/bin/env bash
# run.sh FUZZER SECONDS DICT CRASH_FOLDER SEED_FOLDER...: runs a fuzz target from its
# seeds in a fresh corpus; fails on a crash, leak or timeout, whose input is kept in
# CRASH_FOLDER. Seed folders that do not exist are skipped.
set -euo pipefail
fuzzer=$1 seconds=$2 dict=$3 crashes=$4
shift 4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$crashes"
seeds=()
for folder in "$@"; do
    [ -d "$folder" ] && seeds+=("$folder")
done
# Its own folder: the extraction target works in a scratch folder beside it.
cd "$work"
"$fuzzer" -max_total_time="$seconds" -dict="$dict" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$crashes/$(basename "$fuzzer")-" -print_final_stats=1 \
    "$work/corpus" "${seeds[@]}"
