#!/usr/bin/env bash
# Times deleting entries of a 100,000-entry archive through the window's delete dialog
# under Wine, from the click to the refreshed list: every entry ("Todos"), and every
# other row (selected, "Solo Seleccionados"). Each run works on a fresh copy of an
# archive made by Python's zipfile into build/bench-data.
# Usage: bench/delete_bench.sh [RUNS]   (default 5)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/window_lib.sh"
runs=${1:-5}

window_bench_setup
data=$BENCH_DATA
entries=100000
archive=$data/window-$entries.zip
[ -f "$archive" ] || python3 - "$archive" "$entries" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    for i in range(int(sys.argv[2])):
        z.writestr(f"dir{i % 100}/file{i:06d}.txt", "x" * (i % 50))
PY
work=$(mktemp -d "$data/delete-XXXXXX")
TARVOX_CLEANUP+=("rm -rf '$work'")
python3 - "$TARVOX_BUILD/win32/bin/open_probe.exe" "$archive" "$work" "$runs" "$entries" <<'PY'
import os, re, shutil, statistics, subprocess, sys
probe, archive, work, runs, entries = sys.argv[1:4] + [int(sys.argv[4]), int(sys.argv[5])]
for mode, left in (("all", 0), ("half", entries // 2)):
    times = []
    for run in range(runs):
        copy = os.path.join(work, f"{mode}{run}.zip")
        shutil.copyfile(archive, copy)
        args = ["wine", probe, subprocess.check_output(["winepath", "-w", copy], text=True).strip(),
                "delete"] + (["half"] if mode == "half" else [])
        out = subprocess.run(args, capture_output=True, encoding="latin-1")
        found = re.search(r"deleted down to (\d+) rows in ([\d.]+) ms", out.stdout)
        if out.returncode != 0 or not found or int(found.group(1)) != left:
            sys.exit(f"delete {mode} did not leave {left} rows: {out.stdout}{out.stderr}")
        times.append(float(found.group(2)))
        os.remove(copy)
    print(f"delete {mode} of {entries} entries under Wine, median of {runs}: "
          f"{statistics.median(times):.0f} ms (runs: {', '.join(f'{t:.0f}' for t in times)})")
PY
