#!/usr/bin/env bash
# Times the window opening an archive named on its command line, under Wine: until the
# list's first page of rows is painted, from the start timer and from the process's
# beginning, and the whole probe process with its exit. Archives of 10,000 and 100,000 small entries are made
# by Python's zipfile into build/bench-data.
# Usage: bench/window_open.sh [RUNS]   (default 5)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/window_lib.sh"
runs=${1:-5}

window_bench_setup
data=$BENCH_DATA
for entries in 10000 100000; do
    archive=$data/window-$entries.zip
    [ -f "$archive" ] || python3 - "$archive" "$entries" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    for i in range(int(sys.argv[2])):
        z.writestr(f"dir{i % 100}/file{i:06d}.txt", "x" * (i % 50))
PY
    python3 - "$TARVOX_BUILD/win32/bin/open_probe.exe" "$(winepath -w "$archive")" "$runs" \
        "$entries" <<'PY'
import re, statistics, subprocess, sys, time
probe, archive, runs, entries = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
inside, begun, whole = [], [], []
for _ in range(runs):
    start = time.monotonic()
    out = subprocess.run(["wine", probe, archive], capture_output=True, text=True, check=True)
    whole.append((time.monotonic() - start) * 1000)
    found = re.search(r"(\d+) rows in ([\d.]+) ms, ([\d.]+) ms after", out.stdout)
    if not found or found.group(1) != entries:
        sys.exit(f"the probe did not list {entries} rows: {out.stdout}{out.stderr}")
    inside.append(float(found.group(2)))
    begun.append(float(found.group(3)))
print(f"{entries:>7} entries, medians of {runs}: opened and shown {statistics.median(inside):.1f} ms "
      f"after the start timer, {statistics.median(begun):.1f} ms after the process began; "
      f"whole probe process {statistics.median(whole):.1f} ms")
PY
done
