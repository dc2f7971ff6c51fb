"""Times encrypted (AES-256) add and extract of the benchmark tree: tarvox-cli natively
and the Windows tarvox-cli under Wine, against 7zz a -tzip -mem=AES256 and 7zz x. Each
round runs every command once; prints medians and the median of each round's ratio."""

import argparse
import os
import shutil
import statistics
import tempfile

from engine_bench import fresh, make_corpus, timed_exit as timed


def tree(folder):
    """Relative path to size of every file under folder."""
    found = {}
    for base, _, files in os.walk(folder):
        for f in files:
            path = os.path.join(base, f)
            found[os.path.relpath(path, folder)] = os.path.getsize(path)
    return found


def folded(paths):
    return {p.lower() for p in paths}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True, help="the native tarvox-cli")
    parser.add_argument("--wine-cli", help="the Windows tarvox-cli.exe, run through wine")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--corpus", nargs="+", default=["/usr/include", "/usr/share/doc"])
    parser.add_argument("--work", required=True, help="folder kept between runs (the corpus)")
    parser.add_argument("--password", default="bench-Passw0rd")
    args = parser.parse_args()
    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)

    # The copied tree is kept, copying it costs more than one round, but only for the
    # same sources: the stamp names them.
    corpus = os.path.join(work, "corpus")
    stamp = os.path.join(work, "corpus.done")
    sources = "\n".join(os.path.abspath(s) for s in args.corpus)
    if not os.path.exists(stamp) or open(stamp).read() != sources:
        fresh(corpus)
        make_corpus(args.corpus, corpus)
        with open(stamp, "w") as f:
            f.write(sources)
    files = tree(corpus)
    print(f"corpus: {len(files)} files, {sum(files.values()) / 2**20:.1f} MiB, {args.runs} "
          "rounds; medians in seconds", flush=True)

    pw = args.password
    cli = os.path.abspath(args.cli)
    tools = {"native": [cli]}
    if args.wine_cli:
        tools["wine"] = ["wine", os.path.abspath(args.wine_cli)]

    # Extractions stay until the end: removing a tree of files slows the next tool's
    # file creation on a disk with online discard.
    extractions = tempfile.mkdtemp(prefix="aes-extract-", dir=work)
    samples = {}

    def measure(name, command):
        target = tempfile.mkdtemp(dir=extractions)
        samples.setdefault(name, []).append(timed(command(target), work))
        print(f"  {name}: {samples[name][-1]:.2f} s", flush=True)
        return target

    peer_zip = os.path.join(work, "7zz.zip")
    for round_ in range(args.runs):
        for kind, run in tools.items():
            archive = os.path.join(work, f"tarvox-{kind}.zip")
            fresh(archive)
            measure(f"add {kind}", lambda _: [*run, "add", archive, "corpus", "-r", "-p", pw])
        fresh(peer_zip)
        measure("add 7zz", lambda _: ["7zz", "a", "-tzip", "-mem=AES256", f"-p{pw}", peer_zip,
                                      "corpus"])
        # Every extraction reads the same archive, the peer's.
        made = {}
        for kind, run in tools.items():
            made[kind] = measure(f"extract {kind}",
                                 lambda t: [*run, "extract", peer_zip, t, "-p", pw])
        made["7zz"] = measure("extract 7zz",
                              lambda t: ["7zz", "x", f"-p{pw}", "-y", f"-o{t}", peer_zip])
        if round_ == 0:
            # What was timed must have been done: the archives pass the peer's test and
            # every extraction holds the whole tree.
            for kind in tools:
                timed(["7zz", "t", f"-p{pw}", os.path.join(work, f"tarvox-{kind}.zip")], work)
            # Under Wine the names are those of a Windows file system, where names that
            # differ in case only are one file.
            for kind, folder in made.items():
                got = tree(os.path.join(folder, "corpus"))
                whole = folded(got) == folded(files) if kind == "wine" else got == files
                if not whole:
                    raise SystemExit(f"extract {kind} made {len(got)} files, not the tree")

    shutil.rmtree(extractions)
    print(f"{'':<28} {'tarvox':>8} {'7zz':>8}   ratio (median of rounds)")
    for kind in tools:
        for op in ("add", "extract"):
            ours, peer = samples[f"{op} {kind}"], samples[f"{op} 7zz"]
            ratio = statistics.median(o / p for o, p in zip(ours, peer))
            print(f"{op + ' AES-256, ' + kind:<28} {statistics.median(ours):8.2f} "
                  f"{statistics.median(peer):8.2f}   {ratio:.3f}")


if __name__ == "__main__":
    main()
