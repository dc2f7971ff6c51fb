"""Archives written by zip and by Python's zipfile list through `tarvox-cli list`
with the names `unzip -Z1` gives, in the same order, with the central directory's sizes."""

import io
import os
import random
import subprocess
import zipfile

from interop import Checks, parse_args, scratch


def make_tree(root):
    rng = random.Random(7)
    files = {
        "readme.txt": b"hello\n" * 50,
        "empty.dat": b"",
        "src/main.c": b"int main(void) { return 0; }\n" * 40,
        "src/deep/er/noise.bin": bytes(rng.getrandbits(8) for _ in range(5000)),
        "docs/big.txt": b"".join(b"line %d of the document\n" % i for i in range(4000)),
    }
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


class Unseekable(io.RawIOBase):
    """A stream zipfile cannot seek back in, as when writing to a pipe."""

    def __init__(self, target):
        self.target = target

    def writable(self):
        return True

    def write(self, b):
        self.target.write(b)
        return len(b)


def build_archives(work, tree):
    archives = {}

    def zip_cmd(name, *args, cwd=tree):
        out = os.path.join(work, name)
        subprocess.run(["zip", "-q", *args, out, "."] if "-r" in args else ["zip", "-q", *args],
                       cwd=cwd, check=True)
        archives[name] = out

    zip_cmd("stored.zip", "-r", "-0")
    zip_cmd("deflated.zip", "-r", "-9")
    zip_cmd("folders-only-names.zip", "-r", "-D")
    # Written to a pipe: every entry carries a data descriptor.
    piped = os.path.join(work, "piped.zip")
    with open(piped, "wb") as out:
        zip_proc = subprocess.Popen(["zip", "-q", "-r", "-", "."], cwd=tree, stdout=subprocess.PIPE)
        cat = subprocess.run(["cat"], stdin=zip_proc.stdout, stdout=out, check=True)
        zip_proc.wait()
    archives["piped.zip"] = piped
    # Data from standard input: zip64 sizes in the local header, and to a pipe a
    # zip64 data descriptor as well.
    data = b"from a pipe\n" * 100
    stdin_zip = os.path.join(work, "stdin.zip")
    with open(stdin_zip, "wb") as out:
        subprocess.run(["zip", "-q", "-", "-"], input=data, stdout=out, check=True)
    archives["stdin.zip"] = stdin_zip
    stdin_piped = os.path.join(work, "stdin-piped.zip")
    zipped = subprocess.run(["zip", "-q", "-", "-"], input=data, capture_output=True, check=True)
    with open(stdin_piped, "wb") as out:
        out.write(zipped.stdout)
    archives["stdin-piped.zip"] = stdin_piped

    many = os.path.join(work, "many")
    os.makedirs(many)
    for i in range(1000):
        with open(os.path.join(many, f"f{i:04d}.txt"), "w") as f:
            f.write("x" * (i % 50))
    thousand = os.path.join(work, "thousand.zip")
    subprocess.run(["zip", "-q", "-r", thousand, "."], cwd=many, check=True)
    archives["thousand.zip"] = thousand

    for name, compression, seekable in [
        ("py-stored.zip", zipfile.ZIP_STORED, True),
        ("py-deflated.zip", zipfile.ZIP_DEFLATED, True),
        ("py-stream-deflated.zip", zipfile.ZIP_DEFLATED, False),
        ("py-stream-stored.zip", zipfile.ZIP_STORED, False),
    ]:
        path = os.path.join(work, name)
        with open(path, "wb") as raw:
            target = raw if seekable else Unseekable(raw)
            with zipfile.ZipFile(target, "w", compression) as z:
                for root, _, names in sorted(os.walk(tree)):
                    for n in sorted(names):
                        full = os.path.join(root, n)
                        z.write(full, os.path.relpath(full, tree))
                z.writestr("unicode-ñandú.txt", "año")
        archives[name] = path
    return archives


def main():
    cli = parse_args()
    checks = Checks()
    with scratch() as work:
        tree = os.path.join(work, "tree")
        make_tree(tree)
        for name, path in build_archives(work, tree).items():
            expected_names = subprocess.run(["unzip", "-Z1", path], capture_output=True,
                                            check=True).stdout.decode("utf-8").splitlines()
            with zipfile.ZipFile(path) as z:
                sizes = [(i.file_size, i.compress_size) for i in z.infolist()]
            done = cli.run("list", cli.arg_path(path))
            checks.equal(f"{name}: exit code ({done.stderr!r})", done.returncode, 0)
            lines = done.stdout.decode(cli.encoding).split("\n")
            checks.equal(f"{name}: ends with a line break", lines[-1], "")
            rows = [line.split("\t") for line in lines[:-1]]
            checks.equal(f"{name}: names", [r[0] for r in rows], expected_names)
            checks.equal(f"{name}: sizes", [(int(r[2]), int(r[3])) for r in rows], sizes)

        missing = cli.run("list", cli.arg_path(os.path.join(work, "nothing.zip")))
        checks.equal("missing archive: exit code", missing.returncode, 2)
        checks.equal("missing archive: says so", b"no such archive" in missing.stderr, True)

        cut = os.path.join(work, "cut.zip")
        with open(os.path.join(work, "stored.zip"), "rb") as f:
            data = f.read()
        first_central = data.find(b"PK\x01\x02")
        with open(cut, "wb") as f:
            f.write(data[:first_central] + b"\0" * 30)
        done = cli.run("list", cli.arg_path(cut))
        checks.equal("cut archive: exit code", done.returncode, 1)
        checks.equal("cut archive: error text", done.stderr.strip(), b"Error reading Zip File")
        checks.equal("cut archive: entries before the error",
                     len(done.stdout.splitlines()), data[:first_central].count(b"PK\x03\x04"))

        empty = os.path.join(work, "empty.zip")
        open(empty, "wb").close()
        done = cli.run("list", cli.arg_path(empty))
        checks.equal("empty file: exit code", done.returncode, 1)
        checks.equal("empty file: message", b"Fichero vac" in done.stderr, True)
    checks.finish()


if __name__ == "__main__":
    main()
