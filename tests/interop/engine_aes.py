"""Encrypted archives. What 7zz writes with AES-128 and AES-256, stored and deflated,
extracts byte for byte with the password through the libraries; a wrong or missing
password is error 10 and a changed byte of encrypted data error 9, with no file left
either way. What tarvox-cli writes with -p passes 7zz (AES-256) or unzip (-e
zipcrypto), and reads back only with its password."""

import os
import random
import struct
import subprocess

from engine import Driver, errors, tree
from interop import Checks, parse_args, scratch

PASSWORD = "S3cret pass"


def make_files(root):
    rng = random.Random(20)
    files = {
        "empty.txt": b"",
        "small.txt": b"a few words\n",
        # Several pieces of key stream and of read-ahead, with an odd tail.
        "noise.bin": bytes(rng.getrandbits(8) for _ in range(600_001)),
        "text.txt": b"".join(b"line %d of the text\n" % i for i in range(70_000)),
    }
    for name, data in files.items():
        with open(os.path.join(root, name), "wb") as f:
            f.write(data)
    return files


def data_offsets(archive):
    """{name: (start, size)} of each entry's stored data, from its local header."""
    with open(archive, "rb") as f:
        raw = f.read()
    found, at = {}, 0
    while raw[at:at + 4] == b"PK\x03\x04":
        size, _, name_length, extra_length = struct.unpack("<IIHH", raw[at + 18:at + 30])
        name = raw[at + 30:at + 30 + name_length].decode()
        start = at + 30 + name_length + extra_length
        found[name] = (start, size)
        at = start + size
    return found


def extract(driver, archive, target, *options):
    os.makedirs(target)
    count, records, done = driver.run("extract", os.path.relpath(archive, target), *options,
                                      cwd=target)
    return count, errors(records), tree(target)


def main():
    cli = parse_args()
    driver = Driver(cli)
    checks = Checks()
    with scratch() as work:
        source = os.path.join(work, "source")
        os.makedirs(source)
        files = make_files(source)
        for cipher in ("AES128", "AES256"):
            for level in (0, 5):
                name = f"{cipher}-mx{level}.zip"
                archive = os.path.join(work, name)
                subprocess.run(["7zz", "a", "-tzip", f"-mem={cipher}", f"-mx={level}",
                                f"-p{PASSWORD}", archive, "."], cwd=source, check=True,
                               capture_output=True)
                count, errs, got = extract(driver, archive, os.path.join(work, "x-" + name),
                                           "-password", PASSWORD)
                checks.equal(f"{name}: extracted", (count, errs, got), (len(files), [], files))
                count, errs, _ = extract(driver, archive, os.path.join(work, "t-" + name),
                                         "-password", PASSWORD, "-test")
                checks.equal(f"{name}: tested", (count, errs), (len(files), []))

        archive = os.path.join(work, "AES256-mx5.zip")
        for label, options in (("wrong password", ["-password", "not it"]),
                               ("no password", [])):
            count, errs, got = extract(driver, archive, os.path.join(work, label), *options)
            # Even the empty entry carries a password check.
            checks.equal(f"{label}: error 10 for each entry, nothing written", (errs, got),
                         ([10] * len(files), {}))

        # One changed byte of encrypted data, early and at the very end.
        for name in ("AES256-mx0.zip", "AES128-mx5.zip"):
            original = os.path.join(work, name)
            offsets = data_offsets(original)
            for entry, where in (("noise.bin", 40), ("text.txt", -11)):
                start, size = offsets[entry]
                with open(original, "rb") as f:
                    raw = bytearray(f.read())
                raw[start + (where if where >= 0 else size + where)] ^= 0x01
                tampered = os.path.join(work, f"tampered-{where}-{name}")
                with open(tampered, "wb") as f:
                    f.write(raw)
                count, errs, got = extract(driver, tampered, tampered + ".out",
                                           "-password", PASSWORD)
                checks.equal(f"{name}, {entry} changed at {where}: error 9, the file not left",
                             (errs, entry in got, count), ([9], False, len(files) - 1))
        written_here(checks, cli, work, source, files)
    checks.finish()


def written_here(checks, cli, work, source, files):
    names = sorted(files)
    for method, peer in (("aes", "7zz"), ("zipcrypto", "unzip")):
        archive = os.path.join(work, f"tarvox-{method}.zip")
        done = cli.run("add", cli.arg_path(archive), *names, "-p", PASSWORD, "-e", method, "--batch",
                       cwd=source)
        checks.equal(f"{method}: add ({done.stderr[-300:]!r})", done.returncode, 0)
        if peer == "7zz":
            tested = subprocess.run(["7zz", "t", f"-p{PASSWORD}", archive], capture_output=True)
            listed = subprocess.run(["7zz", "l", "-slt", archive], capture_output=True, text=True)
            methods = sorted(line.split(" = ")[1] for line in listed.stdout.splitlines()
                             if line.startswith("Method = "))
            # Only the text gains by deflating.
            checks.equal(f"{method}: 7zz sees AES-256 on every entry", methods,
                         ["AES-256 Deflate", "AES-256 Store", "AES-256 Store", "AES-256 Store"])
        else:
            tested = subprocess.run(["unzip", "-tq", "-P", PASSWORD, archive], capture_output=True)
        checks.equal(f"{method}: {peer} tests it ({tested.stdout[-300:]!r})", tested.returncode, 0)
        # Standard input is no terminal here: no prompt, error 10.
        out = os.path.join(work, f"cli-{method}-none")
        done = cli.run("extract", cli.arg_path(archive), cli.arg_path(out))
        checks.equal(f"{method}: extract without -p fails with error 10, nothing left",
                     (done.returncode, b"(error 10)" in done.stderr, tree(out)),
                     (1, True, {}))
        out = os.path.join(work, f"cli-{method}")
        done = cli.run("extract", cli.arg_path(archive), cli.arg_path(out), "-p", PASSWORD)
        checks.equal(f"{method}: extract -p gives the files back", (done.returncode, tree(out)),
                     (0, files))
        done = cli.run("test", cli.arg_path(archive), "-p", "wrong")
        checks.equal(f"{method}: test with a wrong password exits 1", done.returncode, 1)
    done = cli.run("add", cli.arg_path(os.path.join(work, "x.zip")), "small.txt", "-p", "pw",
                   "-e", "rot13", cwd=source)
    checks.equal("-e with an unknown method is bad usage", done.returncode, 2)


if __name__ == "__main__":
    main()
