"""Times the engine libraries (through the test driver) against zip, unzip and 7zz:
adding a corpus at level 6, extracting it, and adding 200 files one call each.
Prints medians, time ratios and the size ratio against zip -6."""

import argparse
import os
import shutil
import statistics
import subprocess
import tempfile
import time


def run_tool(command, cwd):
    """Runs a peer (exit 0 is success) or the driver (which exits with its count)."""
    done = subprocess.run(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    ours = any(part.endswith("engine_driver") for part in command[:6])
    if ours:
        lines = done.stdout.splitlines()
        failed = not any(l.startswith(b"result\t") for l in lines) or any(
            l.split(b"\t")[0] != b"result" and l.split(b"\t")[1] != b"0" for l in lines)
    else:
        failed = done.returncode != 0
    if failed:
        raise SystemExit(f"{command[:3]} failed: {done.stdout[-500:]!r}")


def timed_exit(command, cwd):
    """Times a command that reports success with exit code 0."""
    start = time.perf_counter()
    done = subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if done.returncode != 0:
        raise SystemExit(f"{command[:3]} failed: {done.stderr[-500:]!r}")
    return time.perf_counter() - start


peak_kib = {}


def timed(command, cwd, name=None):
    """Seconds; the largest peak memory of a named run is kept too, as GNU time measures
    it (a child of this process would count this process's memory as its own)."""
    if not name:
        start = time.perf_counter()
        run_tool(command, cwd)
        return time.perf_counter() - start
    with tempfile.NamedTemporaryFile("r") as report:
        start = time.perf_counter()
        run_tool(["/usr/bin/time", "-f", "%M", "-o", report.name, *command], cwd)
        elapsed = time.perf_counter() - start
        peak_kib[name] = max(peak_kib.get(name, 0), int(report.read().split()[-1]))
    return elapsed


def fresh(path):
    if os.path.isdir(path):
        shutil.rmtree(path)
    elif os.path.exists(path):
        os.remove(path)


def make_corpus(sources, target):
    """A copy of the sources with links and special files left out, so that every
    tool sees the same regular files. A file whose path differs from another's only in
    case is left out too: on Windows the two are one file, which the library refuses to
    write twice."""
    count = size = 0
    taken = set()
    for source in sources:
        base = os.path.join(target, os.path.basename(source.rstrip("/")))
        for folder, dirs, files in os.walk(source):
            out = os.path.join(base, os.path.relpath(folder, source))
            os.makedirs(out, exist_ok=True)
            for f in files:
                path = os.path.join(folder, f)
                if os.path.islink(path) or not os.path.isfile(path):
                    continue
                folded = os.path.join(out, f).lower()
                if folded in taken:
                    continue
                taken.add(folded)
                try:
                    shutil.copyfile(path, os.path.join(out, f))
                except OSError:
                    continue
                count += 1
                size += os.path.getsize(path)
    return count, size


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--cli", help="tarvox-cli, for the program's pattern in one process")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--corpus", nargs="+", default=["/usr/include", "/usr/share/doc"])
    parser.add_argument("--work")
    parser.add_argument("--extract-into", help="folder to extract into (default: --work)")
    args = parser.parse_args()
    driver = os.path.abspath(args.driver)
    work = args.work or tempfile.mkdtemp(prefix="tarvox-bench-")
    os.makedirs(work, exist_ok=True)
    corpus = os.path.join(work, "corpus")
    fresh(corpus)
    files, size = make_corpus(args.corpus, corpus)
    print(f"corpus: {files} files, {size / 2**20:.1f} MiB, {args.runs} runs each; medians in seconds")
    print(f"extracting into {args.extract_into or work}")

    results = {}
    samples = {}

    # Each round runs every tool once, so that a change in the machine's load falls
    # on all of them alike; the medians are taken over the rounds.
    def measure(name, run):
        samples.setdefault(name, []).append(run())

    def add_run(name, command, archive):
        fresh(os.path.join(work, archive))
        measure(name, lambda: timed(command, work, name))
        results[name + " size"] = os.path.getsize(os.path.join(work, archive))

    # Every extraction goes into a folder of its own, removed only after the last round:
    # on a disk mounted with online discard, removing a tree of files makes the kernel's
    # file creation several times slower for a minute or two afterwards, and that cost
    # would fall on whichever tool ran next.
    extractions = tempfile.mkdtemp(prefix="tarvox-extract-", dir=args.extract_into or work)

    def extract_run(name, command):
        target = tempfile.mkdtemp(dir=extractions)
        measure(name, lambda: timed(command, target))

    # The program's own pattern: one call per file, into one archive, each file new to it
    # (stored without folders, a repeated name would be a replacement, not an add).
    picked, seen = [], set()
    for folder, _, names in sorted(os.walk(corpus)):
        for n in sorted(names):
            if n not in seen:
                seen.add(n)
                picked.append(os.path.relpath(os.path.join(folder, n), work))
    every = picked
    step = max(1, len(picked) // 200)
    picked = picked[::step][:200]

    def one_by_one(name, make_command, archive):
        fresh(os.path.join(work, archive))

        def run():
            start = time.perf_counter()
            for path in picked:
                run_tool(make_command(path), work)
            return time.perf_counter() - start
        measure(name, run)

    # One large file, which is deflated in blocks: the corpus's files joined.
    large = os.path.join(work, "large.bin")
    with open(large, "wb") as out:
        for path in every * 100:
            if out.tell() >= 64 << 20:
                break
            with open(os.path.join(work, path), "rb") as f:
                out.write(f.read())

    # One small file into a big archive, copied afresh before each add (not timed).
    big = os.path.join(work, "big.zip")
    with open(os.path.join(work, "big.bin"), "wb") as f:
        f.write(os.urandom(130 << 20))
    run_tool(["zip", "-q", "-0", "-j", big, os.path.join(work, "big.bin")], work)
    os.remove(os.path.join(work, "big.bin"))

    def into_big(name, make_command, copy):
        shutil.copyfile(big, os.path.join(work, copy))
        measure(name, lambda: timed(make_command(copy), work))

    archive = os.path.join(work, "zip.zip")
    for _ in range(args.runs):
        add_run("add tarvox", [driver, "add", "tarvox.zip", "-level", "6", "-recurse",
                               "-dirnames", "-quiet", "corpus"], "tarvox.zip")
        add_run("add zip -6", ["zip", "-q", "-6", "-r", "zip.zip", "corpus"], "zip.zip")
        add_run("add 7zz", ["7zz", "a", "-tzip", "-mx=6", "7zz.zip", "corpus"], "7zz.zip")
        add_run("add large tarvox",
                [driver, "add", "large.zip", "-level", "6", "-quiet", "large.bin"], "large.zip")
        add_run("add large zip -6", ["zip", "-q", "-6", "zip-large.zip", "large.bin"],
                "zip-large.zip")
        extract_run("extract tarvox", [driver, "extract", archive, "-dirnames", "-quiet"])
        extract_run("extract unzip", ["unzip", "-q", archive])
        extract_run("extract 7zz", ["7zz", "x", "-y", archive])
        one_by_one("200 adds tarvox",
                   lambda p: [driver, "add", "one.zip", "-level", "6", "-quiet", p], "one.zip")
        one_by_one("200 adds zip", lambda p: ["zip", "-q", "-6", "-j", "one-zip.zip", p],
                   "one-zip.zip")
        into_big("small into 130 MB tarvox", lambda a: [driver, "add", a, "-level", "6", "-quiet",
                                                        picked[0]], "big-tarvox.zip")
        into_big("small into 130 MB zip", lambda a: ["zip", "-q", "-6", "-j", a, picked[0]],
                 "big-zip.zip")
        if args.cli:
            # Testing the whole archive: every entry inflated and its CRC-32 checked.
            cli = os.path.abspath(args.cli)
            measure("test tarvox-cli", lambda: timed_exit([cli, "test", archive], work))
            measure("test unzip -t", lambda: timed_exit(["unzip", "-tqq", archive], work))
            measure("test 7zz t", lambda: timed_exit(["7zz", "t", archive], work))
            # As the program adds: one process, one library load and call per file.
            fresh(os.path.join(work, "cli.zip"))
            cli_command = [os.path.abspath(args.cli), "add", "cli.zip", *picked, "-l", "6"]
            measure("200 adds tarvox-cli", lambda: timed_exit(cli_command, work))
    shutil.rmtree(extractions)
    for name, values in samples.items():
        results[name] = statistics.median(values)

    def line(label, ours, peer):
        print(f"{label:<34} {results[ours]:8.3f} s  vs {results[peer]:8.3f} s   "
              f"ratio {results[ours] / results[peer]:.3f}")

    line("add level 6: tarvox / zip -6 -r", "add tarvox", "add zip -6")
    line("add level 6: tarvox / 7zz a -tzip", "add tarvox", "add 7zz")
    line("add 64 MiB file: tarvox / zip -6", "add large tarvox", "add large zip -6")
    line("extract: tarvox / unzip", "extract tarvox", "extract unzip")
    line("extract: tarvox / 7zz x", "extract tarvox", "extract 7zz")
    line("200 single adds: tarvox / zip", "200 adds tarvox", "200 adds zip")
    if args.cli:
        line("200 adds, one process: cli / zip", "200 adds tarvox-cli", "200 adds zip")
        line("test: tarvox-cli / unzip -t", "test tarvox-cli", "test unzip -t")
        line("test: tarvox-cli / 7zz t", "test tarvox-cli", "test 7zz t")
    line("small into 130 MB: tarvox / zip", "small into 130 MB tarvox", "small into 130 MB zip")
    print(f"{'size: tarvox / zip -6':<34} {results['add tarvox size']:>10} B  vs "
          f"{results['add zip -6 size']:>10} B   ratio "
          f"{results['add tarvox size'] / results['add zip -6 size']:.4f}")
    print(f"{'size: 7zz -mx=6':<34} {results['add 7zz size']:>10} B")
    print(f"{'size, 64 MiB file: tarvox / zip':<34} {results['add large tarvox size']:>10} B  vs "
          f"{results['add large zip -6 size']:>10} B   ratio "
          f"{results['add large tarvox size'] / results['add large zip -6 size']:.4f}")
    print(f"{'peak memory of an add: tree':<34} {peak_kib['add tarvox'] / 1024:8.1f} MiB, "
          f"64 MiB file {peak_kib['add large tarvox'] / 1024:.1f} MiB")
    if not args.work:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
