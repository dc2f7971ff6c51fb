"""An engine call whose process dies midway (an add, a delete, an extraction over an
existing file) leaves the archive and the user's files byte for byte as they were,
and no temporary file behind. An add that grows the archive in place and dies at a
random moment leaves, once the next call has undone what it left, the archive as it
was or with the new entry whole, and no journal nor temporary file. An extraction never writes outside its folder through
a link already in it (under Wine a Unix link shows as a reparse point)."""

import glob
import os
import random
import subprocess
import time
import zipfile

from engine import Driver, errors, tree
from interop import Checks, parse_args, scratch

KILLED_APPENDS = 100


def killed_appends(checks, cli, driver, work):
    folder = os.path.join(work, "append")
    os.makedirs(folder)
    small = []
    for i in range(3000):
        small.append(f"s{i}.txt")
        with open(os.path.join(folder, small[-1]), "wb") as f:
            f.write(b"small %d\n" % i)
    with open(os.path.join(folder, "new.txt"), "wb") as f:
        f.write(b"".join(b"appended row %d of the new entry\n" % i for i in range(120000)))
    with open(os.path.join(folder, "new.txt"), "rb") as f:
        new = f.read()
    count, _, _ = driver.run("add", "a.zip", *small, cwd=folder)
    checks.equal("append: archive made", count, len(small))
    archive = os.path.join(folder, "a.zip")
    with open(archive, "rb") as f:
        before = f.read()
    add = ([driver.emulator] if driver.emulator else []) + [driver.path, "add", "a.zip",
                                                             "-level", "9", "new.txt"]
    start = time.monotonic()
    subprocess.run(add, cwd=folder, capture_output=True)
    whole = time.monotonic() - start
    # The next call of each kind undoes what a killed add left before anything else.
    next_calls = [
        lambda: driver.run("extract", "a.zip", "-test", cwd=folder),
        lambda: driver.run("delete", "a.zip", "no-such-entry", cwd=folder),
        lambda: cli.run("list", cli.arg_path(archive)),
    ]
    seed = random.randrange(1 << 30)
    rng = random.Random(seed)
    outcomes = {"as before": 0, "with the new entry": 0, "journal left": 0}
    for run in range(KILLED_APPENDS):
        with open(archive, "wb") as f:
            f.write(before)
        process = subprocess.Popen(add, cwd=folder, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        time.sleep(rng.uniform(0, whole))
        process.kill()
        process.wait()
        if driver.emulator:
            # The wineserver closes a killed process's handles a moment after it is gone.
            time.sleep(0.3)
        if os.path.exists(archive + ".tvxundo"):
            outcomes["journal left"] += 1
        next_calls[run % len(next_calls)]()
        what = f"append killed, run {run} (seed {seed})"
        with open(archive, "rb") as f:
            after = f.read()
        if after == before:
            outcomes["as before"] += 1
        else:
            with zipfile.ZipFile(archive) as z:
                checks.equal(f"{what}: the old entries and the new one", sorted(z.namelist()),
                             sorted(small + ["new.txt"]))
                checks.equal(f"{what}: every entry whole", z.testzip(), None)
                checks.equal(f"{what}: the new entry's bytes", z.read("new.txt") == new, True)
            outcomes["with the new entry"] += 1
        left = sorted(n for n in os.listdir(folder)
                      if n.endswith(".tvxundo") or n.startswith((".tvx", "~tvx")))
        checks.equal(f"{what}: no journal nor temporary file", left, [])
    print("killed appends:", outcomes, "seed", seed)
    checks.equal("append: some kills came while the journal stood",
                 outcomes["journal left"] > 0, True)


def links_not_followed(checks, driver, work):
    outside = os.path.join(work, "outside")
    out = os.path.join(work, "links-out")
    os.makedirs(outside)
    os.makedirs(out)
    os.symlink(outside, os.path.join(out, "link"))
    os.symlink(os.path.join(work, "nowhere"), os.path.join(out, "dangling"))
    archive = os.path.join(work, "links.zip")
    with zipfile.ZipFile(archive, "w") as z:
        for name in ["link/evil.txt", "link/deeper/evil.txt", "dangling/evil.txt", "ok/fine.txt"]:
            z.writestr(name, b"data")
        z.writestr(zipfile.ZipInfo("dangling/"), b"")
    count, records, _ = driver.run("extract", os.path.join("..", "links.zip"), "-dirnames",
                                   "-overwrite", cwd=out)
    checks.equal("links: only the entry outside them counts", count, 1)
    # Wine shows a Unix link to nothing as nothing, and no folder can be made in its place.
    dangling = 11 if driver.emulator else 7
    checks.equal("links: the others are refused", errors(records), [7, 7, dangling, dangling])
    checks.equal("links: nothing written through them",
                 (os.listdir(outside), os.path.lexists(os.path.join(work, "nowhere"))), ([], False))
    checks.equal("links: the folder holds the links and the file",
                 (sorted(os.listdir(out)), os.listdir(os.path.join(out, "ok"))),
                 (["dangling", "link", "ok"], ["fine.txt"]))


def main():
    cli = parse_args()
    driver = Driver(cli)
    checks = Checks()
    with scratch() as work:
        with open(os.path.join(work, "small.txt"), "wb") as f:
            f.write(b"small file\n" * 100)
        with open(os.path.join(work, "big.txt"), "wb") as f:
            f.write(b"".join(b"row %d, some text to deflate\n" % i for i in range(900000)))
        count, _, _ = driver.run("add", "t.zip", "small.txt", "big.txt", cwd=work)
        checks.equal("archive made", count, 2)
        with open(os.path.join(work, "more.txt"), "wb") as f:
            f.write(b"".join(b"another row %d\n" % i for i in range(1500000)))
        before = tree(work)

        def killed(what, *args, cwd=work):
            _, _, done = driver.run(*args, "-kill-at", "3", cwd=cwd)
            checks.equal(f"{what}: the process died ({done.returncode})",
                         done.returncode not in (0, 1, 2) and b"result" not in done.stdout, True)
            # Under Wine the dead process's handles are closed by the wineserver a moment
            # after the process is gone; the temporary file goes with its last handle.
            deadline = time.monotonic() + 20
            while glob.glob(os.path.join(work, "**", "~tvx*"), recursive=True):
                if time.monotonic() > deadline:
                    break
                time.sleep(0.05)

        killed("add", "add", "t.zip", "more.txt", "-level", "9")
        # It grew the archive in place: its journal stands until the next call.
        checks.equal("add killed: the journal stands", os.path.exists(
            os.path.join(work, "t.zip.tvxundo")), True)
        driver.run("extract", "t.zip", "-test", cwd=work)
        checks.equal("add killed: everything as it was after the next call", tree(work), before)
        killed("delete", "delete", "t.zip", "small.txt")
        checks.equal("delete killed: everything as it was", tree(work), before)

        out = os.path.join(work, "out")
        os.makedirs(out)
        with open(os.path.join(out, "big.txt"), "wb") as f:
            f.write(b"the user's own big.txt")
        before_out = tree(out)
        killed("extract", "extract", os.path.join("..", "t.zip"), "-overwrite", cwd=out)
        # small.txt comes first and is whole before the process dies; nothing else is new.
        expected = dict(before_out, **{"small.txt": before["small.txt"]})
        checks.equal("extract killed: the existing file is intact", tree(out), expected)
        checks.equal("extract killed: the archive too", tree(work).get("t.zip"), before["t.zip"])
        links_not_followed(checks, driver, work)
        killed_appends(checks, cli, driver, work)
    checks.finish()


if __name__ == "__main__":
    main()
