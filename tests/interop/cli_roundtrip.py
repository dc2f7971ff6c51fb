"""tarvox-cli add, list, extract, test and delete against the real engine libraries,
checked with unzip and Python's zipfile."""

import filecmp
import os
import random
import subprocess
import zipfile

from interop import Checks, parse_args, scratch


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    cli = parse_args()
    checks = Checks()
    rng = random.Random(11)
    with scratch() as work:
        src = os.path.join(work, "src")
        files = {
            "notes.txt": b"tarvox round trip\n" * 300,
            "random.bin": bytes(rng.getrandbits(8) for _ in range(70000)),
            "empty.txt": b"",
            "sub/inner.txt": b"inside a folder\n" * 20,
        }
        for name, data in files.items():
            write(os.path.join(src, name), data)
        archive = os.path.join(work, "round.zip")
        a = cli.arg_path

        # One call per file, as the program adds them; only the file's own name is stored.
        done = cli.run("add", a(archive), a(os.path.join(src, "notes.txt")),
                       a(os.path.join(src, "random.bin")), a(os.path.join(src, "empty.txt")),
                       "-l", "6")
        checks.equal(f"add: exit code ({done.stderr!r})", done.returncode, 0)
        checks.equal("add: unzip -t", subprocess.run(["unzip", "-tqq", archive]).returncode, 0)
        with zipfile.ZipFile(archive) as z:
            checks.equal("add: stored names", sorted(z.namelist()),
                         ["empty.txt", "notes.txt", "random.bin"])
            checks.equal("add: zipfile test", z.testzip(), None)
            for name in ("notes.txt", "random.bin", "empty.txt"):
                checks.equal(f"add: {name} content", z.read(name), files[name])

        listing = cli.run("list", a(archive))
        names = [line.split("\t")[0] for line in listing.stdout.decode().splitlines()]
        checks.equal("list: names in archive order", names,
                     subprocess.run(["unzip", "-Z1", archive], capture_output=True)
                     .stdout.decode().splitlines())

        checks.equal("test: exit code", cli.run("test", a(archive)).returncode, 0)

        out = os.path.join(work, "out")
        done = cli.run("extract", a(archive), a(out))
        checks.equal(f"extract: exit code ({done.stderr!r})", done.returncode, 0)
        for name in ("notes.txt", "random.bin", "empty.txt"):
            checks.equal(f"extract: {name}",
                         filecmp.cmp(os.path.join(out, name), os.path.join(src, name), False), True)

        one = os.path.join(work, "one")
        done = cli.run("extract", a(archive), a(one), "notes.txt")
        checks.equal("extract one: exit code", done.returncode, 0)
        checks.equal("extract one: only it", sorted(os.listdir(one)), ["notes.txt"])

        done = cli.run("delete", a(archive), "random.bin")
        checks.equal(f"delete: exit code ({done.stderr!r})", done.returncode, 0)
        with zipfile.ZipFile(archive) as z:
            checks.equal("delete: what is left", sorted(z.namelist()), ["empty.txt", "notes.txt"])
        checks.equal("delete: unzip -t", subprocess.run(["unzip", "-tqq", archive]).returncode, 0)

        done = cli.run("delete", a(archive), "no-such-entry")
        checks.equal("delete nothing: exit code", done.returncode, 1)

        done = cli.run("add", a(archive), a(os.path.join(src, "sub")), "--batch")
        checks.equal(f"add a folder: exit code ({done.stderr!r})", done.returncode, 0)
        with zipfile.ZipFile(archive) as z:
            checks.equal("add a folder: its file under the folder's name",
                         "sub/inner.txt" in z.namelist(), True)

        checks.equal("usage: exit code", cli.run("add", a(archive)).returncode, 2)
        checks.equal("bad level: exit code",
                     cli.run("add", a(archive), a(os.path.join(src, "notes.txt")), "-l", "x")
                     .returncode, 2)
        checks.equal("missing archive: exit code",
                     cli.run("test", a(os.path.join(work, "none.zip"))).returncode, 2)
    checks.finish()


if __name__ == "__main__":
    main()
