#!/usr/bin/env python3
"""Lists an archive of 100,000 small entries with `tarvox-cli list` and with the peer
tools `unzip -Z1` and `7zz l`, several runs each, and prints the medians and the
ratios against unzip. Run from anywhere: it builds an optimised tarvox-cli without
sanitizers in build/bench and keeps the archive in build/bench-data."""

import argparse
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "bench")
DATA = os.path.join(ROOT, "build", "bench-data")


def build_cli():
    if not os.path.exists(os.path.join(BUILD, "CMakeCache.txt")):
        subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Release",
                        "-DTARVOX_SANITIZE=OFF"], check=True,
                       stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", BUILD, "-j2", "--target", "tarvox-cli"], check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.join(BUILD, "bin", "tarvox-cli")


def make_archive(entries):
    archive = os.path.join(DATA, f"small-{entries}.zip")
    if os.path.exists(archive):
        return archive
    tree = os.path.join(DATA, f"small-{entries}")
    for i in range(entries):
        folder = os.path.join(tree, f"d{i // 1000:03d}")
        if i % 1000 == 0:
            os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, f"file{i:06d}.txt"), "w") as f:
            f.write(f"entry {i}\n" * (1 + i % 20))
    subprocess.run(["zip", "-q", "-r", archive + ".part", "."], cwd=tree, check=True)
    os.rename(archive + ".part", archive)
    subprocess.run(["rm", "-rf", tree], check=True)
    return archive


def time_runs(command, runs):
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)  # warm-up
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        times.append(time.perf_counter() - start)
        if done.returncode != 0:
            sys.exit(f"{command[0]} failed: {done.stderr.decode(errors='replace')}")
    return times


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--entries", type=int, default=100_000)
    parser.add_argument("--runs", type=int, default=9)
    args = parser.parse_args()
    os.makedirs(DATA, exist_ok=True)
    cli = build_cli()
    archive = make_archive(args.entries)
    commands = {
        "tarvox-cli list": [cli, "list", archive],
        "unzip -Z1": ["unzip", "-Z1", archive],
        "7zz l": ["7zz", "l", archive],
    }
    # Interleave the tools run by run, so that a drift of the machine's speed hits all.
    times = {name: [] for name in commands}
    for _ in range(args.runs):
        for name, command in commands.items():
            times[name] += time_runs(command, 1)
    size = os.path.getsize(archive)
    print(f"archive: {args.entries} entries, {size / 1e6:.1f} MB; {args.runs} runs each")
    base = statistics.median(times["unzip -Z1"])
    for name, values in times.items():
        median = statistics.median(values)
        print(f"{name:16} median {median * 1000:8.1f} ms  (min {min(values) * 1000:.1f}, "
              f"max {max(values) * 1000:.1f})  ratio to unzip -Z1 {median / base:.2f}")
    pairs = [a / b for a, b in zip(times["tarvox-cli list"], times["unzip -Z1"])]
    print(f"tarvox-cli list / unzip -Z1, run by run: median {statistics.median(pairs):.2f}")


if __name__ == "__main__":
    main()
