"""tarvox-cli as a command-line tool: readable names, paths with non-ASCII letters, exit
codes that tell damage, add -r and -x, and --help, through the real tool and libraries."""

import os
import struct
import subprocess
import zipfile
import zlib

from interop import Checks, parse_args, scratch


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def stored_zip(path, entries):
    """entries: (name, data) or (name bytes, data, extra); a bytes name is written in
    place of an ASCII one of its length, so no flag marks it UTF-8."""
    placeholders = []
    with zipfile.ZipFile(path, "w", zipfile.ZIP_STORED) as z:
        for i, (name, data, *extra) in enumerate(entries):
            if isinstance(name, bytes):
                stand_in = (b"%02d" % i + b"#" * len(name))[: len(name)]
                placeholders.append((stand_in, name))
                name = stand_in.decode()
            info = zipfile.ZipInfo(name, (2020, 1, 2, 3, 4, 6))
            info.extra = extra[0] if extra else b""
            z.writestr(info, data)
    with open(path, "rb") as f:
        raw = f.read()
    for stand_in, name in placeholders:
        raw = raw.replace(stand_in, name)
    with open(path, "wb") as f:
        f.write(raw)


def unicode_path_field(stored, utf8):
    body = b"\x01" + struct.pack("<I", zlib.crc32(stored)) + utf8
    return struct.pack("<HH", 0x7075, len(body)) + body


def unzip_names(archive):
    """Stored names as a peer reads them, Unicode path field included."""
    done = subprocess.run(["unzip", "-Z1", archive], capture_output=True)
    return done.stdout.decode("utf-8").splitlines()


def listing(folder):
    return sorted(os.listdir(folder)) if os.path.isdir(folder) else None


def tree_of(root):
    """Every folder and file below root with the files' contents."""
    found = {}
    for folder, dirs, files in os.walk(root):
        for d in dirs:
            found[os.path.relpath(os.path.join(folder, d), root) + "/"] = None
        for f in files:
            with open(os.path.join(folder, f), "rb") as handle:
                found[os.path.relpath(os.path.join(folder, f), root)] = handle.read()
    return found


def check_names(cli, checks, work):
    """Names print as the window shows them, and extract by what is printed."""
    cases = [
        ("code page 437", b"\xa4and\xa3.txt", b"", "ñandú.txt"),
        ("UTF-8 flag", "über.txt", None, "über.txt"),
        ("Unicode path field", b"ano.txt", unicode_path_field(b"ano.txt", "año.txt".encode()),
         "año.txt"),
    ]
    for what, stored, extra, shown in cases:
        archive = os.path.join(work, "names.zip")
        stored_zip(archive, [(stored, b"data", extra) if extra is not None else (stored, b"data"),
                             ("plain.txt", b"p")])
        done = cli.run("list", cli.arg_path(archive))
        names = [row.split("\t")[0] for row in done.stdout.decode(cli.encoding, "replace").splitlines()]
        checks.equal(f"{what}: listed", (done.returncode, names), (0, [shown, "plain.txt"]))
        out = os.path.join(work, "names-out")
        done = cli.run("extract", cli.arg_path(archive), cli.arg_path(out), shown)
        checks.equal(f"{what}: extracted by its printed name ({done.stderr!r})",
                     (done.returncode, listing(out)), (0, [shown]))
        subprocess.run(["rm", "-rf", out], check=True)


def check_non_ascii_paths(cli, checks, work):
    write(os.path.join(work, "dñ", "fñ.txt"), "eñe".encode())
    done = cli.run("add", "-r", "añ.zip", os.path.join("dñ", "fñ.txt"), cwd=work)
    checks.equal(f"ñ paths: add ({done.stderr!r})", done.returncode, 0)
    checks.equal("ñ paths: stored", unzip_names(os.path.join(work, "añ.zip")), ["dñ/fñ.txt"])
    done = cli.run("extract", "añ.zip", "sñ", cwd=work)
    checks.equal(f"ñ paths: extract ({done.stderr!r})",
                 (done.returncode, tree_of(os.path.join(work, "sñ"))),
                 (0, {"dñ/": None, os.path.join("dñ", "fñ.txt"): "eñe".encode()}))


def check_exit_codes(cli, checks, work):
    good = [("a.txt", b"alpha"), ("b.txt", b"bravo"), ("c.txt", b"charlie")]
    stored_zip(os.path.join(work, "good.zip"), good)
    stored_zip(os.path.join(work, "badcrc.zip"), good)
    with open(os.path.join(work, "badcrc.zip"), "r+b") as f:
        raw = f.read()
        f.seek(raw.index(b"bravo"))
        f.write(b"BRAVO")
    stored_zip(os.path.join(work, "unsafe.zip"), [good[0], ("../evil.txt", b"x")])
    write(os.path.join(work, "secret.txt"), b"hidden")
    subprocess.run(["zip", "-q", "-P", "pw", "locked.zip", "secret.txt"], cwd=work, check=True)
    subprocess.run(["zip", "-q", "locked.zip", "good.zip"], cwd=work, check=True)
    write(os.path.join(work, "text.zip"), b"just some text, not an archive\n" * 10)
    # An archive split into parts, as a peer splits it: every part is one of several.
    write(os.path.join(work, "noise.bin"), os.urandom(200000))
    subprocess.run(["zip", "-q", "-s", "64k", "split.zip", "noise.bin", "secret.txt"], cwd=work,
                   check=True)
    cases = [
        ("list of a text file", ["list", "text.zip"], 1),
        ("list of a good archive", ["list", "good.zip"], 0),
        ("test, all good", ["test", "good.zip"], 0),
        ("test, one bad CRC", ["test", "badcrc.zip"], 1),
        ("extract, all good", ["extract", "good.zip", "o1"], 0),
        ("extract again, the files there kept", ["extract", "good.zip", "o1"], 1),
        ("extract again with -o", ["extract", "-o", "good.zip", "o1"], 0),
        ("list of the last part of a split archive", ["list", "split.zip"], 1),
        ("extract of the last part of a split archive", ["extract", "split.zip", "o5"], 1),
        ("list of the first part of a split archive", ["list", "split.z01"], 1),
        ("extract, one bad CRC", ["extract", "badcrc.zip", "o2"], 1),
        ("extract, one refused name", ["extract", "unsafe.zip", "o3"], 1),
        ("extract, one missing password", ["extract", "locked.zip", "o4"], 1),
        ("delete of nothing there", ["delete", "good.zip", "zzz"], 1),
        ("no such archive", ["test", "none.zip"], 2),
        ("unknown option", ["list", "-q", "good.zip"], 2),
    ]
    for what, args, code in cases:
        done = cli.run(*args, cwd=work)
        checks.equal(f"exit code: {what} ({done.stderr!r})", done.returncode, code)
    done = cli.run("extract", "good.zip", "o1", cwd=work)
    checks.equal("extract again: each file kept is named",
                 [f"{n}" in done.stderr.decode(cli.encoding, "replace") for n, _ in good],
                 [True, True, True])
    done = cli.run("list", "split.zip", cwd=work)
    checks.equal("split archive: said so, nothing listed",
                 ("split" in done.stderr.decode(cli.encoding, "replace"), done.stdout), (True, b""))
    checks.equal("split archive: nothing extracted", listing(os.path.join(work, "o5")), None)
    # A failure among good entries leaves the good ones done.
    checks.equal("bad CRC: good entries extracted",
                 listing(os.path.join(work, "o2")), ["a.txt", "c.txt"])


def check_add_tree(cli, checks, work):
    files = {
        "tree/top.txt": b"top\n" * 100,
        "tree/.hidden": b"h",
        "tree/sub/deeper/x.bin": bytes(range(256)) * 40,
        "tree/sub/note.log": b"log",
        "tree/skip/inner.txt": b"skipped",
        "tree/ñu/ü.txt": b"u",
    }
    for name, data in files.items():
        write(os.path.join(work, name), data)
    os.makedirs(os.path.join(work, "tree", "empty"))
    done = cli.run("add", "-r", "full.zip", "tree", cwd=work)
    checks.equal(f"add -r: exit code ({done.stderr!r})", done.returncode, 0)
    done = cli.run("extract", "full.zip", "back", cwd=work)
    checks.equal(f"add -r: extract exit code ({done.stderr!r})", done.returncode, 0)
    tree = {"tree/" + name: data for name, data in tree_of(os.path.join(work, "tree")).items()}
    checks.equal("add -r: extracted tree equals the tree",
                 tree_of(os.path.join(work, "back")), tree | {"tree/": None})

    done = cli.run("add", "-r", "part.zip", "tree", "-x", "*.log", "-x", "tree/skip", cwd=work)
    checks.equal(f"-x: exit code ({done.stderr!r})", done.returncode, 0)
    names = sorted(n for n in unzip_names(os.path.join(work, "part.zip")) if not n.endswith("/"))
    checks.equal("-x: what is left out",
                 names, sorted(n for n in files if not n.endswith(".log") and "/skip/" not in n))


def check_help(cli, checks):
    cases = [
        ([], ["list", "add", "extract", "delete", "test", "Exit codes"]),
        (["list"], ["ARCHIVE"]),
        (["add"], ["-r", "-x PATTERN", "-l LEVEL", "--batch"]),
        (["extract"], ["FOLDER", "-o", "-j"]),
        (["delete"], ["NAME"]),
        (["test"], ["ARCHIVE"]),
    ]
    for command, words in cases:
        done = cli.run(*command, "--help")
        text = done.stdout.decode(cli.encoding, "replace")
        checks.equal(f"--help {command}", (done.returncode, [w for w in words if w not in text]),
                     (0, []))


def main():
    cli = parse_args()
    checks = Checks()
    with scratch() as work:
        check_names(cli, checks, work)
        check_non_ascii_paths(cli, checks, work)
        check_exit_codes(cli, checks, work)
        check_add_tree(cli, checks, work)
        check_help(cli, checks)
    checks.finish()


if __name__ == "__main__":
    main()
